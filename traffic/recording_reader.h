#pragma once

#include "traffic/recording_format.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ksv {

struct RecordingEntry {
    uint64_t micros = 0;
    RecordType type = RecordType::kReceived;
    std::vector<uint8_t> bytes;
    uint64_t offset = 0; // of the record in the file
};

// Reads a recording record by record, trusting nothing in it: a file that is not a recording,
// from a newer format, cut short or corrupt ends the reading with a message that names the byte
// offset where it went wrong.
class RecordingReader {
public:
    RecordingReader() = default;
    ~RecordingReader();
    RecordingReader(const RecordingReader&) = delete;
    RecordingReader& operator=(const RecordingReader&) = delete;

    enum class Status { kRecord, kEnd, kTruncated, kBad };

    // Opens the file and checks its header: kRecord when records may follow.
    Status Open(const std::string& path);
    Status Next(RecordingEntry& entry);
    // What went wrong, "FILE: ... at byte N: ..."; empty while all is well.
    const std::string& Message() const { return m_message; }

private:
    Status Fail(Status status, uint64_t offset, const std::string& what);
    // Reads exactly `length` bytes; false at the end of the file.
    bool ReadExactly(uint8_t* data, size_t length);

    std::FILE* m_file = nullptr;
    std::string m_path;
    uint64_t m_offset = 0;
    uint64_t m_lastMicros = 0;
    std::string m_message;
};

} // namespace ksv

#pragma once

#include "link/link_tap.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace ksv {

// Writes every byte the link receives and sends to a recording file (recording_format.h), each
// record flushed as it is written, so that a recording ends with the last complete record
// however the program ends.
//
// Thread contract: the LinkTap side on the link's threads, serialised by its own lock.
class RecordingWriter : public LinkTap {
public:
    RecordingWriter() = default;
    ~RecordingWriter() override;
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    // Creates (or truncates) `path` and writes the file header; false with Failure() set.
    bool Open(const std::string& path);

    void OnPortOpened() override;
    void OnBytes(TapDirection direction, const uint8_t* data, size_t length) override;

    // Empty while all went well; otherwise what stopped the recording, with the file's name.
    std::string Failure() const;

private:
    void Write(uint8_t type, const uint8_t* data, size_t length);
    void Fail(int error);

    mutable std::mutex m_mutex;
    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_failure;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace ksv

#include "traffic/recording_reader.h"

#include "link/frame.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace ksv {

RecordingReader::~RecordingReader() {
    if (m_file) {
        std::fclose(m_file);
    }
}

RecordingReader::Status RecordingReader::Fail(Status status, uint64_t offset,
                                              const std::string& what) {
    m_message = m_path + ": " + (status == Status::kTruncated ? "cut short" : "corrupt") +
                " at byte " + std::to_string(offset) + ": " + what;
    return status;
}

bool RecordingReader::ReadExactly(uint8_t* data, size_t length) {
    const size_t got = std::fread(data, 1, length, m_file);
    m_offset += got;
    return got == length;
}

RecordingReader::Status RecordingReader::Open(const std::string& path) {
    m_path = path;
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file) {
        m_message = path + ": " + std::strerror(errno);
        return Status::kBad;
    }
    uint8_t header[kRecordingHeaderSize];
    const bool whole = ReadExactly(header, sizeof header);
    if (m_offset < kRecordingMagic.size() ||
        !std::equal(kRecordingMagic.begin(), kRecordingMagic.end(), header)) {
        m_message = path + ": not a Kestrovane recording (no recording header at byte 0)";
        return Status::kBad;
    }
    if (!whole) {
        return Fail(Status::kTruncated, m_offset, "the file header is incomplete");
    }
    const uint32_t version = GetU32(header + 8);
    if (version > kRecordingVersion) {
        m_message = path + ": made by a newer Kestrovane (format " + std::to_string(version) +
                    " at byte 8); this one reads format " + std::to_string(kRecordingVersion);
        return Status::kBad;
    }
    if (version == 0) {
        return Fail(Status::kBad, 8, "format version 0");
    }
    return Status::kRecord;
}

RecordingReader::Status RecordingReader::Next(RecordingEntry& entry) {
    if (!m_file || !m_message.empty()) {
        return Status::kBad;
    }
    const uint64_t start = m_offset;
    uint8_t header[kRecordHeaderSize];
    if (!ReadExactly(header, sizeof header)) {
        if (m_offset == start) {
            return Status::kEnd;
        }
        return Fail(Status::kTruncated, start, "the record header is incomplete");
    }
    entry.offset = start;
    entry.micros = GetU32(header) | uint64_t{GetU32(header + 4)} << 32;
    const uint8_t type = header[8];
    const uint32_t length = GetU32(header + 9);
    if (type > static_cast<uint8_t>(RecordType::kPortOpened)) {
        return Fail(Status::kBad, start + 8, "unknown record type " + std::to_string(type));
    }
    entry.type = static_cast<RecordType>(type);
    if (length > kMaxRecordBytes || (entry.type == RecordType::kPortOpened && length != 0)) {
        return Fail(Status::kBad, start + 9, "impossible record length " + std::to_string(length));
    }
    if (entry.micros < m_lastMicros) {
        return Fail(Status::kBad, start, "time runs backwards");
    }
    m_lastMicros = entry.micros;
    entry.bytes.resize(length);
    if (!ReadExactly(entry.bytes.data(), length)) {
        return Fail(Status::kTruncated, start,
                    "a record of " + std::to_string(length) + " bytes holds only " +
                        std::to_string(m_offset - start - kRecordHeaderSize));
    }
    return Status::kRecord;
}

} // namespace ksv

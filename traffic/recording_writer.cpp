#include "traffic/recording_writer.h"

#include "link/frame.h"
#include "traffic/recording_format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace ksv {

RecordingWriter::~RecordingWriter() {
    if (m_file) {
        std::fclose(m_file);
    }
}

bool RecordingWriter::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_path = path;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        Fail(errno);
        return false;
    }
    std::vector<uint8_t> header(kRecordingMagic.begin(), kRecordingMagic.end());
    PutU32(header, kRecordingVersion);
    PutU32(header, 0);
    if (std::fwrite(header.data(), 1, header.size(), m_file) != header.size() ||
        std::fflush(m_file) != 0) {
        Fail(errno);
        return false;
    }
    m_start = std::chrono::steady_clock::now();
    return true;
}

void RecordingWriter::OnPortOpened() {
    Write(static_cast<uint8_t>(RecordType::kPortOpened), nullptr, 0);
}

void RecordingWriter::OnBytes(TapDirection direction, const uint8_t* data, size_t length) {
    const RecordType type =
        direction == TapDirection::kReceived ? RecordType::kReceived : RecordType::kSent;
    // A write larger than a record goes as several.
    do {
        const size_t piece = std::min<size_t>(length, kMaxRecordBytes);
        Write(static_cast<uint8_t>(type), data, piece);
        data += piece;
        length -= piece;
    } while (length > 0);
}

void RecordingWriter::Write(uint8_t type, const uint8_t* data, size_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_file) {
        return;
    }
    const uint64_t micros =
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - m_start)
                                  .count());
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(micros));
    PutU32(header, static_cast<uint32_t>(micros >> 32));
    header.push_back(type);
    PutU32(header, static_cast<uint32_t>(length));
    const bool ok = std::fwrite(header.data(), 1, header.size(), m_file) == header.size() &&
                    (length == 0 || std::fwrite(data, 1, length, m_file) == length) &&
                    std::fflush(m_file) == 0;
    if (!ok) {
        Fail(errno);
    }
}

void RecordingWriter::Fail(int error) {
    m_failure = "cannot record to " + m_path + ": " + std::strerror(error);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

std::string RecordingWriter::Failure() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failure;
}

} // namespace ksv

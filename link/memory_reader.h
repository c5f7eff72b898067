#pragma once

#include "link/byte_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace ksv {

// A ByteReader over bytes in memory; running out reads as the port going away.
class MemoryReader : public ByteReader {
public:
    MemoryReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit MemoryReader(const std::vector<uint8_t>& bytes)
        : MemoryReader(bytes.data(), bytes.size()) {}

    ResultCode ReadBytes(void* buffer, uint32_t length) override {
        if (length > m_size - m_offset) {
            m_offset = m_size;
            return kLinkClosed;
        }
        if (length > 0) {
            std::memcpy(buffer, m_data + m_offset, length);
        }
        m_offset += length;
        return kSuccess;
    }

    size_t Remaining() const { return m_size - m_offset; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
};

} // namespace ksv

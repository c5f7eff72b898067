#pragma once

#include <cstddef>
#include <cstdint>

namespace ksv {

// Reads LZW codes, least significant bit first, from a chain of GIF data sub-blocks.
// Never reads past the given bytes; a zero-length sub-block or the end of the bytes
// ends the code stream.
class GifCodeReader {
public:
    GifCodeReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // Reads one code of codeSize (1 to 12) bits; false when the data ran out first.
    bool Read(int codeSize, uint32_t& code) {
        while (m_bitCount < codeSize) {
            if (m_pos == m_blockEnd && !EnterNextBlock()) {
                return false;
            }
            // Fill while the block lasts: one block check per few bytes, not per bit.
            while (m_pos < m_blockEnd && m_bitCount <= 56) {
                m_bits |= uint64_t{m_data[m_pos++]} << m_bitCount;
                m_bitCount += 8;
            }
        }
        code = static_cast<uint32_t>(m_bits) & ((1u << codeSize) - 1);
        m_bits >>= codeSize;
        m_bitCount -= codeSize;
        return true;
    }

private:
    bool EnterNextBlock() {
        if (m_pos >= m_size) {
            return false;
        }
        size_t length = m_data[m_pos++];
        if (length == 0) {
            m_size = m_pos; // block terminator: nothing after it belongs to the image
            return false;
        }
        m_blockEnd = m_pos + length < m_size ? m_pos + length : m_size;
        return m_pos < m_blockEnd;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    size_t m_blockEnd = 0;
    uint64_t m_bits = 0;
    int m_bitCount = 0;
};

} // namespace ksv

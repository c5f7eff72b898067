#include "gif_code_stream.h"

#include <algorithm>

namespace ksv::test {

CodeStream::CodeStream(int minimumCodeSize)
    : m_minimumCodeSize(minimumCodeSize), m_codeSize(minimumCodeSize + 1), m_next(Clear() + 2) {}

void CodeStream::Put(uint32_t code, int size) {
    for (int bit = 0; bit < size; ++bit) {
        if (m_bitCount % 8 == 0) {
            m_bytes.push_back(0);
        }
        if ((code >> bit) & 1) {
            m_bytes.back() |= uint8_t(1u << (m_bitCount % 8));
        }
        ++m_bitCount;
    }
}

void CodeStream::PutNext(uint32_t code) {
    Put(code, m_codeSize);
    if (code == Clear()) {
        m_codeSize = m_minimumCodeSize + 1;
        m_next = Clear() + 2;
        m_afterClear = true;
        return;
    }
    if (m_afterClear) {
        m_afterClear = false;
        return;
    }
    if (m_next < 4096) {
        ++m_next;
        if (m_next == (1u << m_codeSize) && m_codeSize < 12) {
            ++m_codeSize;
        }
    }
}

std::vector<uint8_t> CodeStream::SubBlocks(size_t blockSize) const {
    std::vector<uint8_t> out;
    for (size_t pos = 0; pos < m_bytes.size(); pos += blockSize) {
        const size_t n = std::min(blockSize, m_bytes.size() - pos);
        out.push_back(uint8_t(n));
        out.insert(out.end(), m_bytes.begin() + ptrdiff_t(pos),
                   m_bytes.begin() + ptrdiff_t(pos + n));
    }
    out.push_back(0);
    return out;
}

uint32_t PaletteColour(uint32_t index) {
    // Distinct and never black, so black in a picture means "no colour".
    return (index & 0xFF) | ((255 - (index & 0xFF)) << 8) | (uint32_t{0x80} << 16);
}

std::vector<uint8_t> BuildGif(const HandBuiltGif& gif) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto putU16 = [&out](int v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    putU16(gif.width);
    putU16(gif.height);
    out.push_back(uint8_t(0x80 | (gif.bitsPerPixel - 1)));
    out.push_back(0); // background
    out.push_back(0); // aspect
    for (uint32_t i = 0; i < (1u << gif.bitsPerPixel); ++i) {
        const uint32_t c = PaletteColour(i);
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c >> 16));
    }
    out.insert(out.end(), gif.extension.begin(), gif.extension.end());
    out.push_back(0x2C);
    putU16(0);
    putU16(0);
    putU16(gif.width);
    putU16(gif.height);
    out.push_back(gif.interlaced ? 0x40 : 0x00);
    out.push_back(gif.minimumCodeSize);
    out.insert(out.end(), gif.data.begin(), gif.data.end());
    out.push_back(0x3B);
    return out;
}

} // namespace ksv::test

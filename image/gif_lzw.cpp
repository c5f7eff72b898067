#include "image/gif_lzw.h"

#include "image/gif_code_reader.h"

namespace ksv {

namespace {

constexpr uint32_t kNoCode = 0xFFFFFFFF;
constexpr int kMaxCodeSize = 12;
constexpr int kMaxMinimumCodeSize = kMaxCodeSize - 1;

} // namespace

GifStop GifLzw::Decode(const uint8_t* data, size_t size, const uint32_t* palette,
                       uint32_t paletteSize, GifRowWriter& out) {
    if (size == 0) {
        return GifStop::kDataEnded;
    }
    const int minimumCodeSize = data[0];
    if (minimumCodeSize > kMaxMinimumCodeSize) {
        return GifStop::kBadCodeSize;
    }
    const uint32_t clear = 1u << minimumCodeSize;
    const uint32_t end = clear + 1;
    for (uint32_t c = 0; c < clear; ++c) {
        const uint32_t colour = c < paletteSize ? palette[c] : 0;
        m_prefix[c] = 0;
        m_length[c] = 1;
        m_last[c] = colour;
        m_first[c] = colour;
    }

    GifCodeReader reader(data + 1, size - 1);
    int codeSize = minimumCodeSize + 1;
    uint32_t limit = 1u << codeSize;
    uint32_t next = clear + 2;
    uint32_t previous = kNoCode; // data need not begin with a clear code
    while (!out.Full()) {
        uint32_t code;
        if (!reader.Read(codeSize, code)) {
            return GifStop::kDataEnded;
        }
        if (code == clear) {
            codeSize = minimumCodeSize + 1;
            limit = 1u << codeSize;
            next = clear + 2;
            previous = kNoCode;
            continue;
        }
        if (code == end) {
            return GifStop::kEndCode;
        }
        if (previous == kNoCode) {
            if (code > clear) {
                return GifStop::kBadCode;
            }
            Emit(code, out);
            previous = code;
            continue;
        }
        if (code > next) {
            return GifStop::kBadCode;
        }
        // A full dictionary takes no more entries but keeps decoding what it holds,
        // as an encoder that defers its clear code expects.
        if (next < kMaxCodes) {
            m_prefix[next] = static_cast<uint16_t>(previous);
            m_length[next] = static_cast<uint16_t>(m_length[previous] + 1);
            m_last[next] = code == next ? m_first[previous] : m_first[code];
            m_first[next] = m_first[previous];
            ++next;
            if (next >= limit && codeSize < kMaxCodeSize) {
                ++codeSize;
                limit <<= 1;
            }
        }
        Emit(code, out);
        previous = code;
    }
    return GifStop::kPictureFull;
}

void GifLzw::Emit(uint32_t code, GifRowWriter& out) {
    const uint16_t* prefix = m_prefix.data();
    const uint32_t* last = m_last.data();
    const size_t length = m_length[code];
    if (length <= out.Room()) {
        // Walk the prefix chain from the last colour back, writing in place.
        uint32_t* p = out.Cursor() + length - 1;
        uint32_t c = code;
        for (size_t i = 1; i < length; ++i) {
            *p-- = last[c];
            c = prefix[c];
        }
        *p = last[c];
        out.Advance(length);
        return;
    }
    uint32_t* p = m_scratch.data() + length - 1;
    uint32_t c = code;
    for (size_t i = 1; i < length; ++i) {
        *p-- = last[c];
        c = prefix[c];
    }
    *p = last[c];
    out.Write(m_scratch.data(), length);
}

} // namespace ksv

#include "image/gif_lzw.h"

#include "image/gif_code_reader.h"

#include <algorithm>
#include <cstring>

namespace ksv {

namespace {

constexpr uint32_t kNoCode = 0xFFFFFFFF;
constexpr int kMaxCodeSize = 12;
constexpr int kMaxMinimumCodeSize = kMaxCodeSize - 1;

// Copies n colours forward from src to dst, where src + n - 1 <= dst: only the last
// colour of an entry defined by the code being written may be the first one copied.
inline void CopyForward(uint32_t* dst, const uint32_t* src, size_t n) {
    std::memmove(dst, src, (n - 1) * sizeof(uint32_t));
    dst[n - 1] = src[n - 1];
}

// The same for short strings with room for kShortString colours at dst: one fixed-size
// move (the colours past n are overwritten by later strings), then the last colour.
constexpr size_t kShortString = 8;
inline void CopyShortForward(uint32_t* dst, const uint32_t* src, size_t n) {
    std::memmove(dst, src, kShortString * sizeof(uint32_t));
    dst[n - 1] = src[n - 1];
}

} // namespace

GifStop GifLzw::Decode(const uint8_t* data, size_t size, const uint32_t* palette,
                       uint32_t paletteSize, uint32_t* out, size_t count, size_t& written) {
    written = 0;
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
        m_rootColour[c] = c < paletteSize ? palette[c] : 0;
    }

    GifCodeReader reader(data + 1, size - 1);
    int codeSize = minimumCodeSize + 1;
    uint32_t limit = 1u << codeSize;
    uint32_t next = clear + 2;
    uint32_t previous = kNoCode; // data need not begin with a clear code
    size_t previousAt = 0;       // where the previous code's string starts in out
    size_t previousLength = 0;
    size_t pos = 0;
    GifStop stop = GifStop::kPictureFull;
    while (pos < count) {
        uint32_t code;
        if (!reader.Read(codeSize, code)) {
            stop = GifStop::kDataEnded;
            break;
        }
        if (code == clear) {
            codeSize = minimumCodeSize + 1;
            limit = 1u << codeSize;
            next = clear + 2;
            previous = kNoCode;
            continue;
        }
        if (code == end) {
            stop = GifStop::kEndCode;
            break;
        }
        if (previous == kNoCode ? code > clear : code > next) {
            stop = GifStop::kBadCode;
            break;
        }
        // A full dictionary takes no more entries but keeps decoding what it holds, as
        // an encoder that defers its clear code expects.
        if (previous != kNoCode && next < kMaxCodes) {
            m_offset[next] = static_cast<uint32_t>(previousAt);
            m_length[next] = static_cast<uint16_t>(previousLength + 1);
            ++next;
            if (next >= limit && codeSize < kMaxCodeSize) {
                ++codeSize;
                limit <<= 1;
            }
        }
        const size_t length = code < clear ? 1 : size_t{m_length[code]};
        if (out != nullptr && code < clear) {
            out[pos] = m_rootColour[code];
        } else if (out != nullptr) {
            const size_t room = count - pos;
            if (length <= kShortString && room >= kShortString) {
                CopyShortForward(out + pos, out + m_offset[code], length);
            } else {
                CopyForward(out + pos, out + m_offset[code], length < room ? length : room);
            }
        }
        previous = code;
        previousAt = pos;
        previousLength = length;
        pos += length;
    }
    written = pos < count ? pos : count;
    if (out == nullptr) {
        return stop;
    }
    // A short copy may have run ahead of the last string: those colours were never decoded.
    const size_t ranAhead = count - written < kShortString ? count - written : kShortString;
    std::fill_n(out + written, ranAhead, 0u);
    return stop;
}

} // namespace ksv

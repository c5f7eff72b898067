#pragma once

#include "image/gif_row_writer.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace ksv {

// Why the image data of a GIF stopped being decoded.
enum class GifStop {
    kNotDecoded,  // nothing decoded (file refused, or no decode yet)
    kEndCode,     // the end-of-information code
    kPictureFull, // every pixel written; any further codes are ignored
    kDataEnded,   // the bytes or the data sub-blocks ran out first
    kBadCode,     // a code beyond the next free entry, or a non-root code after a clear
    kBadCodeSize, // minimum code size above 11: codes would not fit in 12 bits
};

// LZW decompression of one GIF image's data straight into colours. The dictionary is a
// set of flat arrays in this object: an entry is its prefix code, its length and its
// last and first colours, so adding one costs no allocation and no copy, and separate
// objects decode independently on separate threads.
class GifLzw {
public:
    static constexpr uint32_t kMaxCodes = 4096;

    // data starts at the image's minimum code size byte. Palette indexes at or beyond
    // paletteSize read as black (0). Decoding stops at the first of the stop reasons.
    GifStop Decode(const uint8_t* data, size_t size, const uint32_t* palette, uint32_t paletteSize,
                   GifRowWriter& out);

private:
    void Emit(uint32_t code, GifRowWriter& out);

    std::array<uint16_t, kMaxCodes> m_prefix;
    std::array<uint16_t, kMaxCodes> m_length;
    std::array<uint32_t, kMaxCodes> m_last;
    std::array<uint32_t, kMaxCodes> m_first;
    std::array<uint32_t, kMaxCodes> m_scratch; // a string that crosses a row end
};

} // namespace ksv

#pragma once

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

// LZW decompression of one GIF image's data straight into colours, in data order.
//
// Every dictionary entry's string has already been written once: an entry is the
// previous code's string plus the first colour of the string that followed it. So an
// entry is just where that copy starts and its length, and writing an entry is a
// forward copy from earlier output. No allocation or copy per entry, and all state is
// in this object, so separate objects decode independently on separate threads.
class GifLzw {
public:
    static constexpr uint32_t kMaxCodes = 4096;

    // data starts at the image's minimum code size byte. Writes at most count colours to
    // out and sets written to their number. Palette indexes at or beyond paletteSize read
    // as black (0). With out null nothing is written: written says how many colours the
    // data gives, so that a buffer need hold no more than that.
    GifStop Decode(const uint8_t* data, size_t size, const uint32_t* palette, uint32_t paletteSize,
                   uint32_t* out, size_t count, size_t& written);

private:
    std::array<uint32_t, kMaxCodes> m_offset; // entries: start of the string in out
    std::array<uint16_t, kMaxCodes> m_length; // entries: length of the string
    std::array<uint32_t, kMaxCodes / 2> m_rootColour;
};

} // namespace ksv

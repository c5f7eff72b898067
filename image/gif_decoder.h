#pragma once

#include "image/gif_lzw.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// Decodes the first image of a GIF file (87a or 89a) into colours for an image control.
//
// Accepted: a logical screen with a global colour table and aspect byte 0, at most one
// extension (a graphic control extension, say; its transparency and timing are ignored),
// then an image without a local colour table, interlaced or not. Anything else is
// refused. The image's left and top are ignored: the picture starts at its own top-left.
//
// Output: Width() x Height() colours in Pixels(), row by row from the top, each row from
// the left; a colour is 0x00BBGGRR (red + green * 256 + blue * 65536). Palette indexes
// beyond the colour table, and pixels the data never reached, are black (0).
//
// Untrusted input: the decoder reads only the size bytes given, writes only the picture's
// pixels, and refuses pictures above kMaxPixels. Image data that is truncated or corrupt
// gives a partial picture (see StopReason()).
//
// All state is in the object: separate decoders may run on separate threads. The object
// holds about 32 KiB of tables; construct it where that is fine (heap or a normal stack).
class GifDecoder {
public:
    // 4096 x 4096: far more than an image carrier of under 1 MiB of data needs.
    static constexpr size_t kMaxPixels = size_t{16} * 1024 * 1024;

    // True when the file is accepted (the picture may still be partial); false when it
    // is refused, leaving a 0 x 0 picture. Any earlier picture is discarded first.
    bool Decode(const uint8_t* data, size_t size);
    bool Decode(const std::vector<uint8_t>& data) { return Decode(data.data(), data.size()); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::vector<uint32_t>& Pixels() const { return m_pixels; }
    std::vector<uint32_t> TakePixels() { return std::move(m_pixels); }

    // Why decoding of the image data ended; kNotDecoded when the file was refused.
    GifStop StopReason() const { return m_stop; }

private:
    void Reset();

    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
    GifStop m_stop = GifStop::kNotDecoded;
    std::array<uint32_t, 256> m_palette{};
    GifLzw m_lzw;
};

} // namespace ksv

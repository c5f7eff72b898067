#pragma once

#include "image/gif_lzw.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// 4096 x 4096: far more than an image carrier of under 1 MiB of data needs.
inline constexpr size_t kMaxGifPixels = size_t{16} * 1024 * 1024;

// What one decode may spend.
struct GifLimits {
    size_t declaredPixels = kMaxGifPixels; // a larger picture is refused unread
    size_t storedPixels = kMaxGifPixels;   // what the data fills, in whole rows
};

// Decodes the first image of a GIF file (87a or 89a) into colours for an image control.
//
// Accepted: a logical screen with a global colour table and aspect byte 0, at most one
// extension (a graphic control extension, say; its transparency and timing are ignored),
// then an image without a local colour table, interlaced or not. Anything else is
// refused. The image's left and top are ignored: the picture starts at its own top-left.
//
// Output: Width() x Height() colours, row by row from the top, each row from the left; a
// colour is 0x00BBGGRR (red + green * 256 + blue * 65536). Pixels() holds the first Rows()
// rows only: the rows the image data reached. Palette indexes beyond the colour table, and
// pixels the data never reached (the rows past Rows() too), are black (0).
//
// Untrusted input: the decoder reads only the size bytes given, writes only the picture's
// pixels, and refuses a picture that declares more than the limit's pixels before it
// allocates anything. It counts what the data gives before it allocates, so a truncated
// picture costs the rows its data fills, not its declared size; rows past the limit's
// stored pixels are refused too. Image data that is truncated or corrupt gives a partial
// picture (see StopReason()).
//
// All state is in the object: separate decoders may run on separate threads. The object
// holds about 32 KiB of tables; construct it where that is fine (heap or a normal stack).
class GifDecoder {
public:
    static constexpr size_t kMaxPixels = kMaxGifPixels;

    using Limits = GifLimits;

    // Why a file was refused.
    enum class Refusal {
        kNone,
        kNotGif,       // not a file this decoder takes
        kTooLarge,     // the declared size passes Limits::declaredPixels
        kOverAllowance // the rows the data fills pass Limits::storedPixels
    };

    // True when the file is accepted (the picture may still be partial); false when it
    // is refused, leaving a 0 x 0 picture. Any earlier picture is discarded first.
    bool Decode(const uint8_t* data, size_t size, const Limits& limits);
    bool Decode(const uint8_t* data, size_t size) { return Decode(data, size, Limits{}); }
    bool Decode(const std::vector<uint8_t>& data, const Limits& limits = Limits{}) {
        return Decode(data.data(), data.size(), limits);
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Rows() const { return m_width == 0 ? 0 : static_cast<int>(m_pixels.size() / m_width); }
    const std::vector<uint32_t>& Pixels() const { return m_pixels; }
    std::vector<uint32_t> TakePixels() { return std::move(m_pixels); }

    // Why decoding of the image data ended; kNotDecoded when the file was refused.
    GifStop StopReason() const { return m_stop; }
    Refusal RefusalReason() const { return m_refusal; }

private:
    void Reset();

    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
    GifStop m_stop = GifStop::kNotDecoded;
    Refusal m_refusal = Refusal::kNone;
    std::array<uint32_t, 256> m_palette{};
    GifLzw m_lzw;
};

} // namespace ksv

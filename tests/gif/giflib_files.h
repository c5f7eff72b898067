#pragma once

// GIF files made and decoded by giflib, an independent implementation, for tests and
// the benchmark. Test-only: the decoder itself never links giflib.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ksv::test {

using Rgb = std::array<uint8_t, 3>;

// One image to encode: palette indexes row by row in picture order.
struct GifImageParams {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;     // the colour table has 2^bitsPerPixel entries
    std::vector<Rgb> palette; // exactly 2^bitsPerPixel entries
    std::vector<uint8_t> indexes;
    bool interlaced = false;
    bool graphicControl = false; // a graphic control extension before the image
    bool comment = false;        // a comment extension before the image (after any GCE)
    bool localColourTable = false;
    int left = 0;
    int top = 0;
};

// Content makers, deterministic for a given seed.
std::vector<Rgb> MakePalette(int bitsPerPixel, uint32_t seed);
std::vector<uint8_t> MakeGradientNoise(int width, int height, int bitsPerPixel, uint32_t seed);
GifImageParams MakeImage(int width, int height, int bitsPerPixel, uint32_t seed);

// The file giflib's encoder writes for these parameters; empty when giflib reports an error.
std::vector<uint8_t> EncodeWithGiflib(const GifImageParams& params);

// The picture the parameters describe, as 0x00BBGGRR colours.
std::vector<uint32_t> ExpectedColours(const GifImageParams& params);

// giflib's decode of the first image (DGifSlurp) looked up in its colour table.
struct GiflibPicture {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
GiflibPicture DecodeWithGiflib(const uint8_t* data, size_t size);

} // namespace ksv::test

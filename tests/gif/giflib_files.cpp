#include "giflib_files.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace ksv::test {

namespace {

uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using MapPtr = std::unique_ptr<ColorMapObject, MapDeleter>;

MapPtr MakeMap(const std::vector<Rgb>& palette) {
    std::vector<GifColorType> colours(palette.size());
    for (size_t i = 0; i < palette.size(); ++i) {
        colours[i] = {palette[i][0], palette[i][1], palette[i][2]};
    }
    return MapPtr(GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
}

int WriteToVector(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* bytes, int length) {
    auto* source = static_cast<MemorySource*>(gif->UserData);
    const size_t n = std::min(static_cast<size_t>(length), source->size - source->pos);
    std::memcpy(bytes, source->data + source->pos, n);
    source->pos += n;
    return static_cast<int>(n);
}

std::vector<int> DataRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    const int start[4] = {0, 4, 2, 1};
    const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

bool WriteExtensions(GifFileType* gif, const GifImageParams& params) {
    if (params.graphicControl) {
        GraphicsControlBlock gcb{DISPOSE_DO_NOT, false, 10, NO_TRANSPARENT_COLOR};
        GifByteType bytes[4];
        EGifGCBToExtension(&gcb, bytes);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, bytes) == GIF_ERROR) {
            return false;
        }
    }
    if (params.comment) {
        const char text[] = "test picture";
        if (EGifPutComment(gif, text) == GIF_ERROR) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<Rgb> MakePalette(int bitsPerPixel, uint32_t seed) {
    std::vector<Rgb> palette(size_t{1} << bitsPerPixel);
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint32_t r = NextRandom(seed);
        palette[i] = {uint8_t(r), uint8_t(r >> 8), uint8_t(i * 255 / palette.size())};
    }
    return palette;
}

std::vector<uint8_t> MakeGradientNoise(int width, int height, int bitsPerPixel, uint32_t seed) {
    const uint32_t colours = 1u << bitsPerPixel;
    std::vector<uint8_t> indexes(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // A smooth diagonal ramp (long LZW strings) with sparse noise (short ones).
            uint32_t value = uint32_t(x + y) * colours / uint32_t(width + height);
            if (NextRandom(seed) % 8 == 0) {
                value = NextRandom(seed);
            }
            indexes[size_t(y) * size_t(width) + size_t(x)] = uint8_t(value % colours);
        }
    }
    return indexes;
}

GifImageParams MakeImage(int width, int height, int bitsPerPixel, uint32_t seed) {
    GifImageParams params;
    params.width = width;
    params.height = height;
    params.bitsPerPixel = bitsPerPixel;
    params.palette = MakePalette(bitsPerPixel, seed);
    params.indexes = MakeGradientNoise(width, height, bitsPerPixel, seed + 1);
    return params;
}

std::vector<uint8_t> EncodeWithGiflib(const GifImageParams& params) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    if (gif == nullptr) {
        return {};
    }
    MapPtr map = MakeMap(params.palette);
    EGifSetGifVersion(gif, params.graphicControl || params.comment);
    const int screenWidth = params.left + params.width;
    const int screenHeight = params.top + params.height;
    bool ok = EGifPutScreenDesc(gif, screenWidth, screenHeight, params.bitsPerPixel, 0,
                                map.get()) != GIF_ERROR &&
              WriteExtensions(gif, params) &&
              EGifPutImageDesc(gif, params.left, params.top, params.width, params.height,
                               params.interlaced,
                               params.localColourTable ? map.get() : nullptr) != GIF_ERROR;
    std::vector<GifPixelType> line(size_t(params.width));
    for (int y : DataRowOrder(params.height, params.interlaced)) {
        if (!ok) {
            break;
        }
        std::copy_n(params.indexes.begin() + ptrdiff_t(y) * params.width, params.width,
                    line.begin());
        ok = EGifPutLine(gif, line.data(), params.width) != GIF_ERROR;
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR || !ok) {
        return {};
    }
    return out;
}

std::vector<uint32_t> ExpectedColours(const GifImageParams& params) {
    std::vector<uint32_t> colours;
    colours.reserve(params.indexes.size());
    for (uint8_t index : params.indexes) {
        const Rgb& c = params.palette[index];
        colours.push_back(c[0] | (uint32_t{c[1]} << 8) | (uint32_t{c[2]} << 16));
    }
    return colours;
}

GiflibPicture DecodeWithGiflib(const uint8_t* data, size_t size) {
    GiflibPicture picture;
    MemorySource source{data, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadFromMemory, &error);
    if (gif == nullptr) {
        return picture;
    }
    // DGifSlurp returns the raster in picture row order, interlaced or not.
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        picture.width = image.ImageDesc.Width;
        picture.height = image.ImageDesc.Height;
        const size_t count = size_t(picture.width) * size_t(picture.height);
        picture.pixels.resize(count);
        const GifColorType* colours = map != nullptr ? map->Colors : nullptr;
        const int colourCount = map != nullptr ? map->ColorCount : 0;
        for (size_t i = 0; i < count; ++i) {
            const int index = image.RasterBits[i];
            if (index >= colourCount) {
                picture.pixels[i] = 0;
                continue;
            }
            const GifColorType& c = colours[index];
            picture.pixels[i] = c.Red | (uint32_t{c.Green} << 8) | (uint32_t{c.Blue} << 16);
        }
        picture.ok = true;
    }
    DGifCloseFile(gif, &error);
    return picture;
}

} // namespace ksv::test

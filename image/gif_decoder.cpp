#include "image/gif_decoder.h"

#include "image/gif_interlace.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace ksv {

namespace {

constexpr size_t kSignatureSize = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 10;
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kColourTablePresent = 0x80;
constexpr uint8_t kInterlacedFlag = 0x40;

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// The parts of the file in front of the image data.
struct GifLayout {
    uint32_t paletteSize = 0;
    size_t paletteOffset = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    size_t dataOffset = 0;
};

// Skips the extension at pos: introducer, label, then sub-blocks up to the zero-length
// terminator. Returns the position after it, or nothing when the data ends inside it.
std::optional<size_t> SkipExtension(const uint8_t* data, size_t size, size_t pos) {
    pos += 2;
    while (pos < size) {
        const size_t length = data[pos];
        pos += 1 + length;
        if (length == 0) {
            return pos;
        }
    }
    return std::nullopt;
}

std::optional<GifLayout> ReadLayout(const uint8_t* data, size_t size) {
    // The signature's content is not checked: devices' files are taken as GIF.
    size_t pos = kSignatureSize;
    if (size < pos + kScreenDescriptorSize) {
        return std::nullopt;
    }
    const uint8_t screenFlags = data[pos + 4];
    const uint8_t aspect = data[pos + 6];
    if ((screenFlags & kColourTablePresent) == 0 || aspect != 0) {
        return std::nullopt;
    }
    pos += kScreenDescriptorSize;

    GifLayout layout;
    layout.paletteSize = 1u << ((screenFlags & 7) + 1);
    layout.paletteOffset = pos;
    pos += 3 * size_t{layout.paletteSize};

    if (pos < size && data[pos] == kExtensionIntroducer) {
        std::optional<size_t> after = SkipExtension(data, size, pos);
        if (!after) {
            return std::nullopt;
        }
        pos = *after;
    }
    if (pos + kImageDescriptorSize > size || data[pos] != kImageSeparator) {
        return std::nullopt;
    }
    const uint8_t imageFlags = data[pos + 9];
    if (imageFlags & kColourTablePresent) {
        return std::nullopt;
    }
    layout.width = ReadU16(data + pos + 5);
    layout.height = ReadU16(data + pos + 7);
    layout.interlaced = (imageFlags & kInterlacedFlag) != 0;
    layout.dataOffset = pos + kImageDescriptorSize;
    return layout;
}

// The picture rows that the first `written` colours in data order reach: all of them up to
// the last one, which for an interlaced image may lie far below the others.
size_t RowsReached(size_t written, int width, int height, bool interlaced) {
    const size_t dataRows = (written + size_t(width) - 1) / size_t(width);
    if (!interlaced) {
        return dataRows;
    }
    int last = -1;
    GifInterlace(height).ForEachRow([&](int dataRow, int pictureRow) {
        if (size_t(dataRow) < dataRows) {
            last = std::max(last, pictureRow);
        }
    });
    return size_t(last + 1);
}

} // namespace

void GifDecoder::Reset() {
    m_width = 0;
    m_height = 0;
    m_pixels = {};
    m_stop = GifStop::kNotDecoded;
    m_refusal = Refusal::kNone;
    m_palette.fill(0);
}

bool GifDecoder::Decode(const uint8_t* data, size_t size, const Limits& limits) {
    Reset();
    std::optional<GifLayout> layout;
    if (data != nullptr) {
        layout = ReadLayout(data, size);
    }
    if (!layout) {
        m_refusal = Refusal::kNotGif;
        return false;
    }
    const size_t pixelCount = size_t(layout->width) * size_t(layout->height);
    if (pixelCount > std::min(limits.declaredPixels, kMaxPixels)) {
        m_refusal = Refusal::kTooLarge;
        return false;
    }
    for (uint32_t i = 0; i < layout->paletteSize; ++i) {
        const uint8_t* rgb = data + layout->paletteOffset + 3 * i;
        m_palette[i] = rgb[0] | (uint32_t{rgb[1]} << 8) | (uint32_t{rgb[2]} << 16);
    }
    m_width = layout->width;
    m_height = layout->height;
    if (pixelCount == 0) {
        m_stop = GifStop::kPictureFull;
        return true;
    }
    const uint8_t* imageData = data + layout->dataOffset;
    const size_t imageSize = size - layout->dataOffset;
    // First only count: the data decides what is allocated, not the declared size.
    size_t written = 0;
    m_stop = m_lzw.Decode(imageData, imageSize, m_palette.data(), layout->paletteSize, nullptr,
                          pixelCount, written);
    const size_t stored =
        RowsReached(written, m_width, m_height, layout->interlaced) * size_t(m_width);
    if (stored > limits.storedPixels) {
        Reset();
        m_refusal = Refusal::kOverAllowance;
        return false;
    }
    m_pixels.assign(stored, 0);
    if (!layout->interlaced) {
        m_lzw.Decode(imageData, imageSize, m_palette.data(), layout->paletteSize, m_pixels.data(),
                     stored, written);
        return true;
    }
    // The dictionary refers back into data order, so interlaced rows are placed after.
    std::unique_ptr<uint32_t[]> dataOrder(new uint32_t[written]);
    m_lzw.Decode(imageData, imageSize, m_palette.data(), layout->paletteSize, dataOrder.get(),
                 written, written);
    PlaceInterlacedRows(dataOrder.get(), written, m_pixels.data(), m_width, m_height);
    return true;
}

} // namespace ksv

#include "demo_gif.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace ksv::demo {
namespace {

constexpr int kMinCodeSize = 2; // four colours
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kCodeWidth = kMinCodeSize + 1;

void PutU16(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// Packs codes least significant bit first.
class BitPacker {
public:
    void Put(int code) {
        m_accumulator |= static_cast<uint32_t>(code) << m_bits;
        m_bits += kCodeWidth;
        while (m_bits >= 8) {
            m_bytes.push_back(static_cast<uint8_t>(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_bits -= 8;
        }
    }
    std::vector<uint8_t> Finish() {
        if (m_bits > 0) {
            m_bytes.push_back(static_cast<uint8_t>(m_accumulator & 0xFF));
        }
        return m_bytes;
    }

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_accumulator = 0;
    int m_bits = 0;
};

// A clear code before every pixel keeps the dictionary empty and the code width fixed at three
// bits: larger than real compression, but trivially correct for any decoder.
std::vector<uint8_t> LzwData(const std::vector<uint8_t>& indices) {
    BitPacker packer;
    for (uint8_t index : indices) {
        packer.Put(kClearCode);
        packer.Put(index & 0x03);
    }
    packer.Put(kEndCode);
    return packer.Finish();
}

} // namespace

std::vector<uint8_t> EncodeGif(int width, int height, const std::vector<uint8_t>& indices,
                               const uint8_t (&palette)[12]) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '7', 'a'};
    PutU16(out, width);
    PutU16(out, height);
    out.push_back(0x80 | 0x10 | 0x01); // global table of 2^(1+1) entries, 2 bits of colour
    out.push_back(0);                  // background index
    out.push_back(0);                  // aspect
    out.insert(out.end(), palette, palette + 12);

    out.push_back(0x2C);
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, width);
    PutU16(out, height);
    out.push_back(0); // no local table, not interlaced

    out.push_back(kMinCodeSize);
    const std::vector<uint8_t> data = LzwData(indices);
    for (size_t offset = 0; offset < data.size(); offset += 255) {
        const size_t length = std::min<size_t>(255, data.size() - offset);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + offset, data.begin() + offset + length);
    }
    out.push_back(0);    // block terminator
    out.push_back(0x3B); // trailer
    return out;
}

std::vector<uint8_t> MakeDemoGif(int size) {
    static const uint8_t palette[12] = {0xFF, 0xFF, 0xFF, 0xD0, 0x20, 0x20,
                                        0x20, 0x60, 0xD0, 0x20, 0xA0, 0x40};
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<size_t>(size) * size);
    const double centre = (size - 1) / 2.0;
    const double ring = size / 8.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double radius = std::hypot(x - centre, y - centre);
            const int band = static_cast<int>(radius / ring);
            indices.push_back(band >= 4 ? 0 : static_cast<uint8_t>(1 + band % 3));
        }
    }
    return EncodeGif(size, size, indices, palette);
}

} // namespace ksv::demo

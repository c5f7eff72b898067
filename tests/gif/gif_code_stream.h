#pragma once

// Hand-built GIF files around chosen LZW codes, for cases an encoder never writes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv::test {

// Packs codes least significant bit first. Put() takes an explicit size; PutNext()
// uses the size a decoder reads at that point, tracking the dictionary's growth.
class CodeStream {
public:
    explicit CodeStream(int minimumCodeSize);

    uint32_t Clear() const { return 1u << m_minimumCodeSize; }
    uint32_t End() const { return Clear() + 1; }
    uint32_t NextEntry() const { return m_next; }
    int CodeSize() const { return m_codeSize; }

    void Put(uint32_t code, int size);
    // A code the decoder reads with its current size; clear and end are understood.
    void PutNext(uint32_t code);

    // The packed bytes as data sub-blocks of blockSize bytes, then the terminator.
    std::vector<uint8_t> SubBlocks(size_t blockSize = 255) const;

private:
    int m_minimumCodeSize;
    int m_codeSize;
    uint32_t m_next;
    bool m_afterClear = true;
    std::vector<uint8_t> m_bytes;
    int m_bitCount = 0;
};

// A file with a global colour table of 2^bitsPerPixel colours, colour i being
// PaletteColour(i), an optional extension block and one image whose data is the
// minimum code size byte followed by data (sub-blocks, as given).
struct HandBuiltGif {
    int width = 1;
    int height = 1;
    int bitsPerPixel = 2;
    bool interlaced = false;
    std::vector<uint8_t> extension; // raw bytes between colour table and image
    uint8_t minimumCodeSize = 2;
    std::vector<uint8_t> data;
};
uint32_t PaletteColour(uint32_t index);
std::vector<uint8_t> BuildGif(const HandBuiltGif& gif);

// Offsets into a BuildGif() file without extension.
inline constexpr size_t kScreenFlagsOffset = 10;
inline constexpr size_t kAspectOffset = 12;

} // namespace ksv::test

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// Places decoded colours into the picture in the order GIF data delivers them: row by
// row from the top, or in the four interlace passes (rows 0, 8, 16 ..., 4, 12 ...,
// 2, 6 ..., 1, 3 ...). Writes are runs within one contiguous segment: the whole
// picture when not interlaced, one row when interlaced. Nothing is written past the
// last pixel; once the picture is full, Full() turns true.
class GifRowWriter {
public:
    GifRowWriter(uint32_t* pixels, int width, int height, bool interlaced);

    bool Full() const { return m_left == 0; }

    // Room left in the current segment (0 only when the picture is full).
    size_t Room() const { return m_left; }

    // Where the next Room() colours go.
    uint32_t* Cursor() const { return m_cursor; }

    // Marks count colours (at most Room()) as written at Cursor().
    void Advance(size_t count) {
        m_cursor += count;
        m_left -= count;
        if (m_left == 0) {
            EnterNextSegment();
        }
    }

    // Writes colours that may span several segments; the overflow is dropped.
    void Write(const uint32_t* colours, size_t count);

private:
    void EnterNextSegment();

    uint32_t* m_pixels;
    size_t m_width;
    std::vector<int> m_rowOrder; // interlaced only: picture row of each data row
    size_t m_nextRow = 0;
    uint32_t* m_cursor = nullptr;
    size_t m_left = 0;
};

} // namespace ksv

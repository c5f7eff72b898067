#include "image/gif_row_writer.h"

#include <algorithm>

namespace ksv {

namespace {

std::vector<int> InterlacedRowOrder(int height) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    std::vector<int> order;
    order.reserve(static_cast<size_t>(height));
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

} // namespace

GifRowWriter::GifRowWriter(uint32_t* pixels, int width, int height, bool interlaced)
    : m_pixels(pixels), m_width(static_cast<size_t>(width)) {
    if (width <= 0 || height <= 0) {
        return;
    }
    if (!interlaced) {
        m_cursor = pixels;
        m_left = m_width * static_cast<size_t>(height);
        return;
    }
    m_rowOrder = InterlacedRowOrder(height);
    EnterNextSegment();
}

void GifRowWriter::EnterNextSegment() {
    if (m_nextRow >= m_rowOrder.size()) {
        m_left = 0;
        return;
    }
    m_cursor = m_pixels + static_cast<size_t>(m_rowOrder[m_nextRow++]) * m_width;
    m_left = m_width;
}

void GifRowWriter::Write(const uint32_t* colours, size_t count) {
    while (count > 0 && m_left > 0) {
        size_t n = std::min(count, m_left);
        std::copy(colours, colours + n, m_cursor);
        colours += n;
        count -= n;
        Advance(n);
    }
}

} // namespace ksv

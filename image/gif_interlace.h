#pragma once

#include <cstddef>
#include <cstdint>

namespace ksv {

// Picture row of each data row of an interlaced GIF image, in the four passes: rows
// 0, 8, 16 ..., then 4, 12 ..., then 2, 6 ..., then 1, 3 .... Passes that start below
// the last row are empty.
class GifInterlace {
public:
    explicit GifInterlace(int height) : m_height(height) {}

    // Calls place(dataRow, pictureRow) for every row, in data order.
    template <typename Place> void ForEachRow(Place place) const {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        int dataRow = 0;
        for (int pass = 0; pass < 4; ++pass) {
            for (int y = kStart[pass]; y < m_height; y += kStep[pass]) {
                place(dataRow++, y);
            }
        }
    }

private:
    int m_height;
};

// Moves the first `written` colours of an interlaced image, given in data order, to
// their rows in picture; rows not reached are left as they are.
void PlaceInterlacedRows(const uint32_t* dataOrder, size_t written, uint32_t* picture, int width,
                         int height);

} // namespace ksv

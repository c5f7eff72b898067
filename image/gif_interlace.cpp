#include "image/gif_interlace.h"

#include <algorithm>

namespace ksv {

void PlaceInterlacedRows(const uint32_t* dataOrder, size_t written, uint32_t* picture, int width,
                         int height) {
    const size_t rowLength = static_cast<size_t>(width);
    GifInterlace(height).ForEachRow([&](int dataRow, int pictureRow) {
        const size_t start = static_cast<size_t>(dataRow) * rowLength;
        if (start >= written) {
            return;
        }
        const size_t n = std::min(rowLength, written - start);
        std::copy_n(dataOrder + start, n, picture + static_cast<size_t>(pictureRow) * rowLength);
    });
}

} // namespace ksv

#include "controls/ctrl_geometry.h"

#include <algorithm>

namespace {

// Tiles past what any screen shows are clipped anyway; a 1-pixel picture in a huge control
// must not make millions of them.
constexpr int kMaxTilesPerAxis = 1024;
constexpr int kPressOffset = 2;

} // namespace

EditWithButton PlaceEditWithButton(const CtrlFrame& f) {
    const int s = f.Side();
    const int top = f.y + f.label;
    return {{f.x, top, std::max(0, f.w - s + 1), s}, {f.x + f.w - s, top, s, s}};
}

SpinPlacement PlaceSpin(const CtrlFrame& f) {
    const int s = f.Side();
    const int top = f.y + f.label;
    return {{f.x, top, std::max(0, f.w - 2 * s + 2), s},
            {f.x + f.w - 2 * s + 1, top, s, s},
            {f.x + f.w - s, top, s, s}};
}

PickerPlacement PlacePickers(const CtrlFrame& f, bool timeWithOther) {
    const int h1 = f.h - f.label + 1;
    const int half = timeWithOther ? h1 / 2 : 0;
    const int h2 = timeWithOther ? half + 1 : h1;
    const int top = f.y + f.label;
    return {{f.x, top, f.w, h2}, {f.x, top + half, f.w, h2}, {f.x, top + half, f.w, h2}};
}

BarPlacement PlaceBar(const CtrlFrame& f, int32_t value, int32_t minimum, int32_t maximum) {
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    int64_t offset = static_cast<int64_t>(value) - minimum;
    int bw = 0;
    if (range > 0) {
        offset = std::clamp<int64_t>(offset, 0, range);
        bw = static_cast<int>(offset * std::max(0, f.w) / range);
    }
    const int top = f.y + f.label;
    const int h = f.h - f.label;
    BarPlacement p;
    p.bar = {f.x, top, std::min(bw + 1, f.w), h};
    p.value = {f.x + bw, top, f.w - bw, h};
    p.valueInBar = range > 0 && offset > range / 2;
    return p;
}

std::vector<ImageAxisCell> ImageAxisCells(int origin, int extent, int picture, int mode) {
    switch (mode) {
    case 1:
        return {{origin, picture}};
    case 2:
        return {{origin + extent / 2 - picture / 2, picture}};
    case 3:
        return {{origin + extent - picture, picture}};
    case 4: {
        if (picture <= 0) {
            return {};
        }
        const int count = std::min(std::max(0, extent) / picture + 1, kMaxTilesPerAxis);
        std::vector<ImageAxisCell> cells;
        cells.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            cells.push_back({origin + i * picture, picture});
        }
        return cells;
    }
    default:
        return {{origin, extent}};
    }
}

std::vector<CtrlRect> ImageCells(const CtrlRect& control, int pictureWidth, int pictureHeight,
                                 int hAlign, int vAlign, bool pressed) {
    const int shift = pressed ? kPressOffset : 0;
    const auto columns = ImageAxisCells(control.x + shift, control.w, pictureWidth, hAlign);
    const auto rows = ImageAxisCells(control.y + shift, control.h, pictureHeight, vAlign);
    std::vector<CtrlRect> cells;
    cells.reserve(columns.size() * rows.size());
    for (const ImageAxisCell& row : rows) {
        for (const ImageAxisCell& column : columns) {
            cells.push_back({column.position, row.position, column.length, row.length});
        }
    }
    return cells;
}

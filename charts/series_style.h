#pragma once

#include <cstdint>

namespace ksv {

enum class SeriesStyle { Line, Column, Points };

// The inline chart shows appearances 4 to 6, the full-screen one 0 to 2 (and their inline
// twins); any other appearance draws lines.
inline SeriesStyle InlineSeriesStyle(int32_t appearance) {
    switch (appearance) {
    case 5:
        return SeriesStyle::Column;
    case 6:
        return SeriesStyle::Points;
    default:
        return SeriesStyle::Line;
    }
}

inline SeriesStyle FullScreenSeriesStyle(int32_t appearance) {
    switch (appearance) {
    case 1:
    case 5:
        return SeriesStyle::Column;
    case 2:
    case 6:
        return SeriesStyle::Points;
    default:
        return SeriesStyle::Line;
    }
}

} // namespace ksv

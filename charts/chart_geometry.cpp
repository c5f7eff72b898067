#include "charts/chart_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ksv {

PixelRect SpanRect(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

PixelRect Inflate(const PixelRect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

CentredText CentreInSpan(int span, int textWidth) {
    CentredText placed;
    placed.offset = span / 2 - textWidth / 2;
    if (placed.offset < 3)
        placed.offset = 2;
    placed.width = span - 4 < textWidth ? span - 4 : textWidth;
    return placed;
}

PixelRect InlineChartFrame(const PixelRect& item, bool border) {
    if (border)
        return {item.left + 1, item.top + 1, item.right, item.bottom};
    return {item.left, item.top, item.right + 1, item.bottom + 1};
}

PixelRect InlinePlotArea(const PixelRect& frame) {
    return {frame.left + 23, frame.top + 10, frame.right - 10, frame.bottom - 19};
}

Band InlineLegendBand(const PixelRect& frame, uint32_t s, uint32_t series) {
    if (series == 0)
        return {};
    const int64_t band = (static_cast<int64_t>(frame.bottom) - frame.top) / series;
    return {static_cast<int>(frame.bottom - (s + 1) * band),
            static_cast<int>(frame.bottom - s * band)};
}

PixelRect FullScreenClient(const PixelRect& client) {
    PixelRect laid = client;
    laid.bottom = std::max(client.bottom, client.top + kMinimumChartHeight);
    return laid;
}

PixelRect FullScreenPlotArea(const PixelRect& client, MatrixXKind kind) {
    const PixelRect laid = FullScreenClient(client);
    const int left = kind == MatrixXKind::None ? 19 : 35;
    return {laid.left + left, laid.top + 39, laid.right - 10, laid.bottom - 10};
}

Band FullScreenLegendSpan(const PixelRect& plot, uint32_t s, uint32_t series) {
    if (series == 0)
        return {};
    const int64_t band = (static_cast<int64_t>(plot.right) - plot.left) / series;
    const int start = static_cast<int>(plot.left + s * band + 1);
    return {start, static_cast<int>(start + band - 2)};
}

int ColumnBarWidth(int span, int32_t rows) {
    if (rows <= 0)
        return 1;
    const int width = span / rows - 2;
    return width <= 1 ? 1 : width;
}

Band ColumnSlice(int centre, int barWidth, uint32_t s, uint32_t series) {
    if (series == 0)
        return {};
    const int64_t start = static_cast<int64_t>(centre) - barWidth / 2 + 1;
    return {static_cast<int>(start + static_cast<int64_t>(barWidth) * s / series),
            static_cast<int>(start + static_cast<int64_t>(barWidth) * (s + 1) / series)};
}

double AxisPixel(double fraction, int from, int to) {
    return fraction * (static_cast<double>(to) - from) + from;
}

int TruncatePixel(double value) {
    constexpr double kLimit = std::numeric_limits<int>::max() / 2;
    if (!(value > -kLimit))
        return static_cast<int>(-kLimit);
    if (!(value < kLimit))
        return static_cast<int>(kLimit);
    return static_cast<int>(value);
}

} // namespace ksv

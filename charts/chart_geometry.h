#pragma once

#include "charts/matrix_data.h"

#include <cstdint>

namespace ksv {

// Height of every chart text box; the chart fonts are sized to fit it.
constexpr int kChartTextHeight = 16;
// The full-screen chart is laid out at least this high, however short its window.
constexpr int kMinimumChartHeight = 268;

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const PixelPoint& o) const { return !(*this == o); }
};

// Right and bottom edges are exclusive: a fill covers left..right-1 and top..bottom-1.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The rectangle between two corners given in any order.
PixelRect SpanRect(int x1, int y1, int x2, int y2);
PixelRect Inflate(const PixelRect& r, int by);

// A text box centred in a span: where it starts and how wide it is drawn. A text wider than
// the span less 4 is cut to that, keeping the offset of its full width.
struct CentredText {
    int offset = 0;
    int width = 0;
    int height = kChartTextHeight;
};
CentredText CentreInSpan(int span, int textWidth);

// A stretch along one axis, start inclusive, end exclusive.
struct Band {
    int start = 0;
    int end = 0;
};

// Inline chart: the frame inside the item rectangle (inside the border when there is one),
// the plot area inside the frame, and the legend band of series s (series 0 at the bottom).
PixelRect InlineChartFrame(const PixelRect& item, bool border);
PixelRect InlinePlotArea(const PixelRect& frame);
Band InlineLegendBand(const PixelRect& frame, uint32_t s, uint32_t series);

// Full-screen chart: the client rectangle stretched to the minimum height, its plot area
// (a wider left margin when X has labels), and the span of series s's legend name.
PixelRect FullScreenClient(const PixelRect& client);
PixelRect FullScreenPlotArea(const PixelRect& client, MatrixXKind kind);
Band FullScreenLegendSpan(const PixelRect& plot, uint32_t s, uint32_t series);

// Column style: the bar width of a row for a plot span, and series s's slice of the bar
// centred on `centre`.
int ColumnBarWidth(int span, int32_t rows);
Band ColumnSlice(int centre, int barWidth, uint32_t s, uint32_t series);

// from + fraction x (to - from), the pixel a fraction of an axis falls on (not truncated).
double AxisPixel(double fraction, int from, int to);
// Truncated toward zero into the int range: far-off coordinates stay far off.
int TruncatePixel(double value);

} // namespace ksv

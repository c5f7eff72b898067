#include "charts/series_scene.h"

#include "charts/matrix_access.h"
#include "charts/series_trace.h"

#include <cmath>

namespace ksv {
namespace {

// A row's point in pixels, before truncation; NaN when the row has no place on the X axis.
struct RowPoint {
    double x;
    double y;
};

// What every series of one paint shares.
struct SeriesInput {
    const MatrixData& m;
    const ChartAxes& axes;
    const SeriesFrame& frame;
    std::vector<double> rowFractions;
};

RowPoint PointOf(const SeriesInput& in, int32_t i, uint32_t s) {
    const double fx = in.rowFractions[i];
    const double fy = ValueFraction(in.axes, GetYValue(in.m, i, s));
    const PixelRect& p = in.frame.plot;
    if (in.frame.rowsRunDown)
        return {AxisPixel(fy, p.left, p.right), AxisPixel(fx, p.top, p.bottom)};
    return {AxisPixel(fx, p.left, p.right), AxisPixel(fy, p.bottom, p.top)};
}

SceneLines TraceLines(const SeriesInput& in, uint32_t s) {
    LineTrace trace(in.frame.clip, in.frame.rowsRunDown);
    for (int32_t i = 0; i < in.axes.rows; ++i) {
        const RowPoint p = PointOf(in, i, s);
        trace.Add(p.x, p.y);
    }
    return {SeriesColour(s), trace.Take()};
}

SceneDots TraceDots(const SeriesInput& in, uint32_t s) {
    DotTrace trace(in.frame.clip);
    for (int32_t i = 0; i < in.axes.rows; ++i) {
        const RowPoint p = PointOf(in, i, s);
        trace.Add(p.x, p.y);
    }
    return {SeriesColour(s), trace.Take()};
}

SceneBars TraceBars(const SeriesInput& in, uint32_t s, uint32_t series) {
    const SeriesFrame& frame = in.frame;
    const PixelRect& p = frame.plot;
    const int span = frame.rowsRunDown ? p.bottom - p.top : p.right - p.left;
    const int barWidth = ColumnBarWidth(span, in.axes.rows);
    // Columns start at the axis edge, not at the value 0.
    const int base = frame.rowsRunDown ? p.left : p.bottom;
    BarTrace trace(frame.clip, frame.rowsRunDown);
    for (int32_t i = 0; i < in.axes.rows; ++i) {
        const RowPoint point = PointOf(in, i, s);
        const double along = frame.rowsRunDown ? point.y : point.x;
        const double value = frame.rowsRunDown ? point.x : point.y;
        if (!std::isfinite(along))
            continue;
        trace.Add(ColumnSlice(TruncatePixel(along), barWidth, s, series), base, value);
    }
    return {SeriesColour(s), trace.Take()};
}

} // namespace

void AppendSeries(ChartScene& scene, const MatrixData& m, const ChartAxes& axes, SeriesStyle style,
                  const SeriesFrame& frame) {
    const uint32_t series = GetSeriesCount(m);
    const SeriesInput in{m, axes, frame, RowFractions(m, axes)};
    for (uint32_t s = 0; s < series; ++s) {
        switch (style) {
        case SeriesStyle::Line:
            scene.push_back(TraceLines(in, s));
            break;
        case SeriesStyle::Points:
            scene.push_back(TraceDots(in, s));
            break;
        case SeriesStyle::Column:
            scene.push_back(TraceBars(in, s, series));
            break;
        }
    }
}

} // namespace ksv

#pragma once

#include "charts/chart_geometry.h"
#include "charts/chart_scene.h"

#include <optional>
#include <vector>

namespace ksv {

// The traces turn a series' points into the few primitives that cover the same pixels: with
// thousands of rows to a few hundred pixels most rows land where earlier ones already drew.
// `rowsRunDown` is true for the full-screen chart, whose rows advance down the screen, so
// that runs of rows on one pixel row (rather than column) are merged.

// A line series: one segment from each point to the next; two ends on the same pixel give a
// one-pixel diagonal step. Segments far outside the clip are cut down to it first.
class LineTrace {
public:
    LineTrace(const PixelRect& clip, bool rowsRunDown);

    // The next row's point, in pixels before truncation; a non-finite one breaks the line.
    void Add(double x, double y);
    std::vector<Segment> Take();

private:
    void AddSegment(PixelPoint a, PixelPoint b);
    void FlushRun();
    PixelPoint Oriented(PixelPoint p) const;

    PixelRect m_bounds; // where segments are cut, beyond the clip
    bool m_rowsRunDown;
    std::optional<std::pair<double, double>> m_previous;
    // The open run of segments along one pixel line, in oriented coordinates.
    bool m_runOpen = false;
    int m_runAt = 0;
    int m_runLow = 0;
    int m_runHigh = 0;
    std::vector<Segment> m_segments; // oriented
    std::vector<PixelPoint> m_steps; // oriented
};

// A points series: each pixel's circle once.
class DotTrace {
public:
    explicit DotTrace(const PixelRect& clip);

    void Add(double x, double y);
    std::vector<PixelPoint> Take();

private:
    PixelRect m_bounds;
    std::vector<PixelPoint> m_centres;
};

// A column series: bars from the base line to each value; bars sharing their slice with the
// previous one are merged into it.
class BarTrace {
public:
    BarTrace(const PixelRect& clip, bool rowsRunDown);

    // A bar across `slice` (along the row axis) from `base` to `value` (along the value axis).
    void Add(Band slice, int base, double value);
    std::vector<PixelRect> Take();

private:
    PixelRect m_bounds;
    bool m_rowsRunDown;
    std::vector<PixelRect> m_bars;
};

} // namespace ksv

#include "charts/series_trace.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

namespace ksv {
namespace {

// Bounds beyond the clip: wide enough for a pen or circle that reaches into it.
constexpr int kLineMargin = 16;
constexpr int kDotMargin = 4;
// Points this far out are cut down before truncation, so that the slope stays true.
constexpr double kSafeCoordinate = 1 << 20;

struct PointLess {
    bool operator()(const PixelPoint& a, const PixelPoint& b) const {
        return std::tie(a.x, a.y) < std::tie(b.x, b.y);
    }
};

struct SegmentLess {
    bool operator()(const Segment& a, const Segment& b) const {
        return std::tie(a.from.x, a.from.y, a.to.x, a.to.y) <
               std::tie(b.from.x, b.from.y, b.to.x, b.to.y);
    }
};

bool SegmentEqual(const Segment& a, const Segment& b) {
    return a.from == b.from && a.to == b.to;
}

// Sorted, without repeats; repeats in a row, the common case, go before the sort.
template <typename T, typename Less, typename Equal>
void SortUnique(std::vector<T>& items, Less less, Equal equal) {
    items.erase(std::unique(items.begin(), items.end(), equal), items.end());
    std::sort(items.begin(), items.end(), less);
    items.erase(std::unique(items.begin(), items.end(), equal), items.end());
}

struct DoublePoint {
    double x;
    double y;
};

// Liang-Barsky: the part of a..b inside r, or nothing.
bool CutToRect(DoublePoint& a, DoublePoint& b, const PixelRect& r) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const DoublePoint start = a;
    a = {start.x + t0 * dx, start.y + t0 * dy};
    b = {start.x + t1 * dx, start.y + t1 * dy};
    return true;
}

bool OnOneSideOutside(const DoublePoint& a, const DoublePoint& b, const PixelRect& r) {
    return (a.x < r.left && b.x < r.left) || (a.x > r.right && b.x > r.right) ||
           (a.y < r.top && b.y < r.top) || (a.y > r.bottom && b.y > r.bottom);
}

bool IsFar(const DoublePoint& p) {
    return std::fabs(p.x) > kSafeCoordinate || std::fabs(p.y) > kSafeCoordinate;
}

PixelPoint Truncated(const DoublePoint& p) {
    return {TruncatePixel(p.x), TruncatePixel(p.y)};
}

} // namespace

LineTrace::LineTrace(const PixelRect& clip, bool rowsRunDown)
    : m_bounds(Inflate(clip, kLineMargin)), m_rowsRunDown(rowsRunDown) {}

PixelPoint LineTrace::Oriented(PixelPoint p) const {
    return m_rowsRunDown ? PixelPoint{p.y, p.x} : p;
}

void LineTrace::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        m_previous.reset();
        return;
    }
    if (m_previous) {
        DoublePoint a{m_previous->first, m_previous->second};
        DoublePoint b{x, y};
        const bool visible = !OnOneSideOutside(a, b, m_bounds) &&
                             (!(IsFar(a) || IsFar(b)) || CutToRect(a, b, m_bounds));
        if (visible)
            AddSegment(Oriented(Truncated(a)), Oriented(Truncated(b)));
    }
    m_previous = std::make_pair(x, y);
}

void LineTrace::AddSegment(PixelPoint a, PixelPoint b) {
    if (a == b) {
        m_steps.push_back(a);
        return;
    }
    if (a.x != b.x) {
        m_segments.push_back(PointLess()(a, b) ? Segment{a, b} : Segment{b, a});
        return;
    }
    const int low = std::min(a.y, b.y);
    const int high = std::max(a.y, b.y);
    // Chained pieces along one pixel line overlap, so their union is one piece.
    if (m_runOpen && m_runAt == a.x && low <= m_runHigh && high >= m_runLow) {
        m_runLow = std::min(m_runLow, low);
        m_runHigh = std::max(m_runHigh, high);
        return;
    }
    FlushRun();
    m_runOpen = true;
    m_runAt = a.x;
    m_runLow = low;
    m_runHigh = high;
}

void LineTrace::FlushRun() {
    if (m_runOpen)
        m_segments.push_back({{m_runAt, m_runLow}, {m_runAt, m_runHigh}});
    m_runOpen = false;
}

std::vector<Segment> LineTrace::Take() {
    FlushRun();
    SortUnique(m_steps, PointLess(), std::equal_to<PixelPoint>());
    for (const PixelPoint& p : m_steps)
        m_segments.push_back({p, {p.x + 1, p.y + 1}});
    SortUnique(m_segments, SegmentLess(), SegmentEqual);
    std::vector<Segment> out;
    out.reserve(m_segments.size());
    for (const Segment& s : m_segments)
        out.push_back({Oriented(s.from), Oriented(s.to)});
    m_segments.clear();
    m_steps.clear();
    return out;
}

DotTrace::DotTrace(const PixelRect& clip) : m_bounds(Inflate(clip, kDotMargin)) {}

void DotTrace::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    const PixelPoint p{TruncatePixel(x), TruncatePixel(y)};
    if (p.x < m_bounds.left || p.x >= m_bounds.right || p.y < m_bounds.top ||
        p.y >= m_bounds.bottom)
        return;
    m_centres.push_back(p);
}

std::vector<PixelPoint> DotTrace::Take() {
    SortUnique(m_centres, PointLess(), std::equal_to<PixelPoint>());
    return std::move(m_centres);
}

BarTrace::BarTrace(const PixelRect& clip, bool rowsRunDown)
    : m_bounds(Inflate(clip, kDotMargin)), m_rowsRunDown(rowsRunDown) {}

void BarTrace::Add(Band slice, int base, double value) {
    if (!std::isfinite(value) || slice.end <= slice.start)
        return;
    const int v = TruncatePixel(value);
    PixelRect bar = m_rowsRunDown ? SpanRect(base, slice.start, v, slice.end)
                                  : SpanRect(slice.start, base, slice.end, v);
    bar = {std::max(bar.left, m_bounds.left), std::max(bar.top, m_bounds.top),
           std::min(bar.right, m_bounds.right), std::min(bar.bottom, m_bounds.bottom)};
    if (bar.IsEmpty())
        return;
    if (!m_bars.empty()) {
        // Bars on one slice all reach the base line, so together they are one bar.
        PixelRect& last = m_bars.back();
        const bool sameSlice = m_rowsRunDown ? last.top == bar.top && last.bottom == bar.bottom
                                             : last.left == bar.left && last.right == bar.right;
        if (sameSlice) {
            last = {std::min(last.left, bar.left), std::min(last.top, bar.top),
                    std::max(last.right, bar.right), std::max(last.bottom, bar.bottom)};
            return;
        }
    }
    m_bars.push_back(bar);
}

std::vector<PixelRect> BarTrace::Take() {
    return std::move(m_bars);
}

} // namespace ksv

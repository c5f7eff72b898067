#include "charts/series_trace.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ksv {
namespace {

const PixelRect kClip{0, 0, 200, 100};

bool Has(const std::vector<Segment>& segments, PixelPoint from, PixelPoint to) {
    for (const Segment& s : segments)
        if ((s.from == from && s.to == to) || (s.from == to && s.to == from))
            return true;
    return false;
}

TEST(LineTrace, SamePixelEndsMakeOneDiagonalStep) {
    LineTrace trace(kClip, false);
    trace.Add(10.2, 20.9);
    trace.Add(10.8, 20.1); // same pixel
    trace.Add(10.5, 20.5); // and again: one step is enough
    const std::vector<Segment> segments = trace.Take();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_TRUE(Has(segments, {10, 20}, {11, 21}));
}

TEST(LineTrace, RunsOnOnePixelLineMergeAndRowsRunningDownMergeAcross) {
    LineTrace trace(kClip, false);
    for (double y : {50.0, 40.0, 60.0, 45.0}) // one column, zig-zag
        trace.Add(30, y);
    trace.Add(31, 45); // then on to the next column
    std::vector<Segment> segments = trace.Take();
    EXPECT_EQ(segments.size(), 2u);
    EXPECT_TRUE(Has(segments, {30, 40}, {30, 60}));
    EXPECT_TRUE(Has(segments, {30, 45}, {31, 45}));

    LineTrace turned(kClip, true);
    for (double x : {50.0, 40.0, 60.0})
        turned.Add(x, 30);
    segments = turned.Take();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_TRUE(Has(segments, {40, 30}, {60, 30}));
}

TEST(LineTrace, FarPointsAreCutKeepingTheSlopeAndGapsBreakTheLine) {
    LineTrace trace(kClip, false);
    trace.Add(100, 50);
    trace.Add(100 + 1e12, 50 + 1e12); // a 45-degree line towards a far point
    trace.Add(NAN, 0);
    trace.Add(5, 5); // starts afresh: no segment from the NaN
    const std::vector<Segment> segments = trace.Take();
    ASSERT_EQ(segments.size(), 1u);
    const Segment& s = segments[0];
    EXPECT_EQ(s.to.x - s.from.x, s.to.y - s.from.y);
    EXPECT_LT(std::max(s.from.x, s.to.x), 300);
}

TEST(DotTrace, EachPixelOnceAndNothingFarOutside) {
    DotTrace trace(kClip);
    trace.Add(10.1, 10.9);
    trace.Add(10.7, 10.2);
    trace.Add(-100, 10);
    trace.Add(10, 1e300);
    const std::vector<PixelPoint> dots = trace.Take();
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0], (PixelPoint{10, 10}));
}

TEST(BarTrace, BarsOnOneSliceMergeAndFarValuesAreCut) {
    BarTrace trace(kClip, false);
    trace.Add({20, 21}, 98, 40);
    trace.Add({20, 21}, 98, 70);
    trace.Add({22, 24}, 98, -1e9);
    trace.Add({25, 25}, 98, 10); // an empty slice draws nothing
    const std::vector<PixelRect> bars = trace.Take();
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0], (PixelRect{20, 40, 21, 98}));
    EXPECT_EQ(bars[1].top, -4);
}

} // namespace
} // namespace ksv

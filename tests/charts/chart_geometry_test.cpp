#include "charts/chart_geometry.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(ChartGeometry, ColumnSlicesSplitTheBarBySeries) {
    // Plot span 200, ten rows: bars of 18, three slices of 6 side by side about the centre.
    const int width = ColumnBarWidth(200, 10);
    EXPECT_EQ(width, 18);
    const Band slices[3] = {ColumnSlice(100, width, 0, 3), ColumnSlice(100, width, 1, 3),
                            ColumnSlice(100, width, 2, 3)};
    EXPECT_EQ(slices[0].start, 92);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(slices[s].end - slices[s].start, 6) << s;
    EXPECT_EQ(slices[1].start, slices[0].end);
    EXPECT_EQ(slices[2].end, 110);
    // Crowded rows still get a bar one pixel wide; no rows, no division by zero.
    EXPECT_EQ(ColumnBarWidth(200, 10000), 1);
    EXPECT_EQ(ColumnBarWidth(200, 0), 1);
    EXPECT_EQ(ColumnSlice(5, 1, 0, 0).end, 0);
}

TEST(ChartGeometry, LegendBandsAndPlotAreas) {
    const PixelRect frame = InlineChartFrame({0, 0, 240, 160}, false);
    EXPECT_EQ(frame.bottom, 161);
    EXPECT_EQ(InlinePlotArea(frame), (PixelRect{23, 10, 231, 142}));
    EXPECT_EQ(InlineChartFrame({0, 0, 240, 160}, true), (PixelRect{1, 1, 240, 160}));
    // Series 0 at the bottom; the bands tile the frame from its bottom up.
    const Band bottom = InlineLegendBand(frame, 0, 3);
    const Band top = InlineLegendBand(frame, 2, 3);
    EXPECT_EQ(bottom.end, 161);
    EXPECT_EQ(bottom.start, 161 - 53);
    EXPECT_EQ(top.start, 161 - 159);
    EXPECT_EQ(InlineLegendBand(frame, 0, 0).end, 0);

    // A short dialog is laid out 268 high; the left margin is narrower without X labels.
    EXPECT_EQ(FullScreenPlotArea({0, 0, 300, 100}, MatrixXKind::Labels),
              (PixelRect{35, 39, 290, 258}));
    EXPECT_EQ(FullScreenPlotArea({0, 0, 300, 400}, MatrixXKind::None).left, 19);
    const Band legend = FullScreenLegendSpan({35, 39, 290, 258}, 1, 2);
    EXPECT_EQ(legend.start, 35 + 127 + 1);
    EXPECT_EQ(legend.end - legend.start, 125);
}

TEST(ChartGeometry, CentringCutsWideTextsToTheSpanLessFour) {
    struct Case {
        int span, width, offset, drawn;
    } cases[] = {
        {100, 40, 30, 40}, // centred
        {100, 98, 2, 96},  // offset under 3 becomes 2, width cut
        {50, 300, 2, 46},  // a long series name: band - 6 of its band
        {3, 10, 2, -1},    // no room at all
    };
    for (const Case& c : cases) {
        const CentredText placed = CentreInSpan(c.span, c.width);
        EXPECT_EQ(placed.offset, c.offset) << c.span << " " << c.width;
        EXPECT_EQ(placed.width, c.drawn) << c.span << " " << c.width;
        EXPECT_EQ(placed.height, 16);
    }
}

TEST(ChartGeometry, FarCoordinatesTruncateWithoutOverflow) {
    EXPECT_EQ(TruncatePixel(-3.7), -3);
    EXPECT_EQ(TruncatePixel(1e300), TruncatePixel(1e200));
    EXPECT_LT(TruncatePixel(-1e300), -1000000);
    EXPECT_GT(TruncatePixel(2147483647.0 * 4), 1000000);
}

} // namespace
} // namespace ksv

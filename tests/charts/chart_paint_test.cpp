#include "chart_image.h"
#include "charts/chart_text.h"
#include "charts/matrix_access.h"
#include "charts/series_trace.h"
#include "matrix_builder.h"
#include "platform/qt/fitted_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace ksv {
namespace {

QRgb SeriesRgb(uint32_t s) {
    const uint32_t c = SeriesColour(s);
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TEST(InlineChartPaint, AxisLinesSitOnThePlotEdges) {
    const MatrixData m = MakeMatrix(3, 3, {}); // no series to cover the lines
    const QImage image = RenderInline(m, {0, 0, 240, 160}, {240, 160});
    // Plot (23, 10)-(231, 142): the Y axis in column 23, the X axis in row 141.
    for (int y = 10; y < 142; ++y)
        EXPECT_TRUE(IsBlack(image.pixel(23, y))) << y;
    EXPECT_FALSE(IsBlack(image.pixel(22, 80)));
    EXPECT_FALSE(IsBlack(image.pixel(24, 60)));
    for (int x = 23; x < 231; ++x)
        EXPECT_TRUE(IsBlack(image.pixel(x, 141))) << x;
    EXPECT_FALSE(IsBlack(image.pixel(232, 141)));

    const QImage bordered = RenderInline(m, {0, 0, 240, 160}, {240, 160}, true);
    EXPECT_TRUE(IsBlack(bordered.pixel(0, 0)));
    EXPECT_TRUE(IsBlack(bordered.pixel(239, 159)));
    EXPECT_TRUE(IsBlack(bordered.pixel(24, 50))); // the plot moves in with the frame
}

TEST(InlineChartPaint, LegendNamesStayInTheirBands) {
    MatrixData m = MakeMatrix(2, 2, {{1, 2}, {3, 4}});
    m.m_pSeriesNames = {u"Temperature of the pump", u"Load of the fan motor"};
    const QImage image = RenderInline(m, {0, 0, 240, 160}, {240, 160});
    const int band = 161 / 2; // series 0 owns rows 81..160, series 1 rows 1..80
    int inked[2] = {0, 0};
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == qRgb(255, 255, 255))
                continue;
            const bool red = qRed(p) > qGreen(p); // series 0 is dark red, 1 dark green
            const int s = red ? 0 : 1;
            ++inked[s];
            if (s == 0)
                EXPECT_GE(y, 161 - band + 1) << x;
            else
                EXPECT_LT(y, 161 - band - 1) << x;
        }
    }
    EXPECT_GT(inked[0], 20);
    EXPECT_GT(inked[1], 20);
}

// A name too long for its band shows as the name elided to the band, never cut mid-letter;
// one that fits, however closely, shows whole.
TEST(InlineChartPaint, ALegendNameTooLongForItsBandEndsInAnEllipsis) {
    MatrixData m = MakeMatrix(2, 2, {{1, 2}, {3, 4}, {5, 6}});
    m.m_pSeriesNames = {u"Temperature of the pump", u"Fan", u"Heater"};
    m.m_xTitle = u"Time";
    const PixelRect item{0, 0, 236, 205};
    const ChartScene scene = BuildInlineChart(m, item, {}, ChartTextMeasure());
    ChartScene expected = scene;
    int cut = 0;
    int whole = 0;
    for (SceneItem& entry : expected) {
        auto* text = std::get_if<SceneText>(&entry);
        if (text == nullptr)
            continue;
        const QString name = QString::fromStdU16String(text->text);
        const QFont font = text->bold ? ChartTitleFont() : ChartLabelFont();
        if (MeasureChartText(font, name).width() <= text->width) {
            ++whole;
            continue;
        }
        const QString fitted = qt::FitLine(name, font, text->width);
        EXPECT_TRUE(fitted.endsWith(QChar(0x2026))) << text->width;
        text->text = fitted.toStdU16String();
        ++cut;
    }
    ASSERT_EQ(cut, 1);
    ASSERT_EQ(whole, 3);
    EXPECT_EQ(RenderScene(scene, {236, 205}), RenderScene(expected, {236, 205}));
}

TEST(InlineChartPaint, ColumnSlicesAreSixPixelsEach) {
    // Width 232 gives a plot span of 200; ten rows, three series: bars of 18.
    MatrixData m = MakeMatrix(10, 10,
                              {{9, 5, 5, 5, 5, 5, 5, 5, 5, 5},
                               {9, 6, 6, 6, 6, 6, 6, 6, 6, 6},
                               {9, 7, 7, 7, 7, 7, 7, 7, 7, 7}});
    m.m_appearance = 5;
    const QImage image = RenderInline(m, {0, 0, 232, 160}, {232, 160});
    const int row = 140; // just above the X axis line
    // Row 0 centres on x = 23 + 10 = 33, its bar starts at 33 - 9 + 1 = 25.
    for (uint32_t s = 0; s < 3; ++s)
        for (int x = 25 + 6 * static_cast<int>(s); x < 31 + 6 * static_cast<int>(s); ++x)
            EXPECT_EQ(image.pixel(x, row), SeriesRgb(s)) << s << " " << x;
    EXPECT_EQ(image.pixel(24, row), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(43, row), qRgb(255, 255, 255));
}

TEST(InlineChartPaint, TwoPointsOnOnePixelDrawAStep) {
    MatrixData m = MakeMatrix(2, 2, {{3, 3}});
    SetXNumbers(m, {5, 5});
    m.m_appearance = 4;
    const QImage image = RenderInline(m, {0, 0, 240, 160}, {240, 160});
    int inked = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 240; ++x)
            inked += image.pixel(x, y) == SeriesRgb(0);
    EXPECT_GT(inked, 4);
}

// The trace's few segments cover exactly the pixels of one segment per pair of rows.
TEST(SeriesTracePaint, MergedSegmentsPaintWhatEverySegmentPaints) {
    for (bool rowsRunDown : {false, true}) {
        const PixelRect clip{0, 0, 120, 90};
        std::mt19937 random(7);
        std::uniform_real_distribution<double> value(-5, 95);
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < 3000; ++i) {
            const double along = i * 0.04, across = value(random) / (i % 50 < 25 ? 1 : 8);
            points.push_back(rowsRunDown ? std::make_pair(across, along)
                                         : std::make_pair(along, across));
        }
        LineTrace trace(clip, rowsRunDown);
        std::vector<Segment> every;
        for (size_t i = 0; i < points.size(); ++i) {
            trace.Add(points[i].first, points[i].second);
            if (i == 0)
                continue;
            const PixelPoint a{int(points[i - 1].first), int(points[i - 1].second)};
            PixelPoint b{int(points[i].first), int(points[i].second)};
            if (a == b)
                b = {b.x + 1, b.y + 1};
            every.push_back({a, b});
        }
        const ChartScene merged = {SceneLines{0x80, trace.Take()}};
        const ChartScene naive = {SceneLines{0x80, every}};
        EXPECT_LT(std::get<SceneLines>(merged[0]).segments.size(), every.size() / 4);
        EXPECT_EQ(RenderScene(merged, {120, 90}), RenderScene(naive, {120, 90})) << rowsRunDown;
    }
}

TEST(ChartPaint, HostileDataStaysInsideTheControl) {
    struct Case {
        const char* what;
        MatrixData m;
    };
    std::vector<Case> cases;
    cases.push_back({"no series", MakeMatrix(5, 5, {})});
    cases.push_back({"no rows", MakeMatrix(5, 0, {{1, 2}})});
    cases.push_back({"full ring", MakeMatrix(4, -2, {{1, 2, 3, 4}, {-4, -3, -2, -1}})});
    cases.push_back({"capacity 1", MakeMatrix(1, 1, {{7}})});
    cases.push_back({"int32 limits", MakeMatrix(3, 3, {{INT32_MIN, INT32_MAX, 0}})});
    cases.push_back({"all equal", MakeMatrix(3, 3, {{5, 5, 5}})});
    MatrixData dates = MakeMatrix(3, 3, {{1, 2, 3}});
    SetXDates(dates, {PackedDateTime::Make(2024, 1, 1, 0, 0, 0, 1),
                      PackedDateTime::Make(2024, 1, 1, 0, 0, 0, 1),
                      PackedDateTime::Make(2023, 1, 1, 0, 0, 0, 1)});
    cases.push_back({"equal and unordered dates", dates});
    MatrixData labels = MakeMatrix(3, 3, {{1, 2, 3}});
    SetXLabels(labels, {u"a very long label indeed", u"b"});
    labels.m_flags |= 0x00000004;
    labels.m_pXData.push_back(0x41); // a 16-bit control with an odd byte count
    labels.m_pSeriesNames = {std::u16string(300, u'W')};
    cases.push_back({"odd labels, long name", labels});
    MatrixData exponent = MakeMatrix(2, 2, {{INT32_MAX, INT32_MIN}});
    exponent.m_yExponent = 127;
    SetXNumbers(exponent, {INT32_MIN, INT32_MAX});
    exponent.m_xExponent = -128;
    cases.push_back({"extreme exponents", exponent});
    MatrixData many = MakeMatrix(2, 2, {{1, 2}});
    many.m_nSeries = 0xFFFFFFFF; // claims more series than it holds
    cases.push_back({"claimed series", many});

    const PixelRect item{20, 20, 200, 140};
    for (Case& c : cases) {
        for (int32_t appearance : {4, 5, 6}) {
            c.m.m_appearance = appearance;
            const QImage image = RenderInline(c.m, item, {220, 160});
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (x < item.left || x >= item.right || y < item.top || y >= item.bottom) {
                        ASSERT_EQ(image.pixel(x, y), kOutside.rgb())
                            << c.what << " " << x << "," << y;
                    }
            const ChartScene full =
                BuildFullScreenChart(c.m, {0, 0, 300, 100}, nullptr, ChartTextMeasure());
            RenderScene(full, {300, 300});
        }
    }
}

TEST(FullScreenChartPaint, AShortDialogIsLaidOutAsIf268High) {
    MatrixData m = MakeMatrix(3, 3, {}); // Y 0..1 and no series over the lines
    SetXNumbers(m, {0, 10, 20});
    // Client 300 x 200; plot (35, 39)-(290, 258).
    const QImage image = RenderScene(
        BuildFullScreenChart(m, {0, 0, 300, 200}, nullptr, ChartTextMeasure()), {300, 300});
    for (int x = 35; x < 290; ++x)
        EXPECT_TRUE(IsBlack(image.pixel(x, 39))) << x;
    for (int y = 39; y < 258; ++y)
        EXPECT_TRUE(IsBlack(image.pixel(35, y))) << y;
    EXPECT_EQ(image.pixel(150, 267), qRgb(255, 255, 255)); // the white reaches 268
    EXPECT_EQ(image.pixel(150, 268), kOutside.rgb());
    // End ticks, 8 long: above the top line at the value ends, left of the left line.
    EXPECT_TRUE(IsBlack(image.pixel(35, 31)));
    EXPECT_TRUE(IsBlack(image.pixel(289, 31)) || IsBlack(image.pixel(290, 31)));
    EXPECT_TRUE(IsBlack(image.pixel(27, 39)));
    EXPECT_TRUE(IsBlack(image.pixel(27, 257)) || IsBlack(image.pixel(27, 258)));
}

} // namespace
} // namespace ksv

#include "charts/full_screen_chart.h"

#include "charts/axis_ticks.h"
#include "charts/calendar_time.h"
#include "charts/chart_axes.h"
#include "charts/matrix_access.h"
#include "charts/matrix_setup.h"
#include "charts/matrix_text.h"
#include "charts/series_scene.h"

#include <algorithm>

namespace ksv {
namespace {

// What the parts of the layout share.
struct Layout {
    const MatrixData& m;
    const TextMeasure& measure;
    PixelRect client; // stretched to the minimum height
    PixelRect plot;
};

SceneText Text(PixelPoint at, int width, const std::u16string& text, bool bold, bool rotated,
               uint32_t colour) {
    return SceneText{at, width, kChartTextHeight, text, bold, rotated, colour};
}

void AppendXTitle(ChartScene& scene, const Layout& l) {
    if (l.m.m_xTitle.empty())
        return;
    const PixelRect& p = l.plot;
    const CentredText placed = CentreInSpan(p.bottom - p.top, l.measure(l.m.m_xTitle, true));
    if (placed.width <= 0)
        return;
    // Without X labels the margin is narrower than the title's usual place.
    const int x = std::max(l.client.left, p.left - 34);
    scene.push_back(
        Text({x, p.top + placed.offset}, placed.width, l.m.m_xTitle, true, true, kSceneBlack));
}

void AppendLegend(ChartScene& scene, const Layout& l) {
    const uint32_t series = GetSeriesCount(l.m);
    for (uint32_t s = 0; s < series; ++s) {
        const Band span = FullScreenLegendSpan(l.plot, s, series);
        const std::u16string& name = SeriesName(l.m, s);
        const CentredText placed = CentreInSpan(span.end - span.start, l.measure(name, true));
        if (placed.width <= 0)
            continue;
        scene.push_back(Text({span.start + placed.offset, l.plot.top - 40}, placed.width, name,
                             true, false, SeriesColour(s)));
    }
}

int ClippedWidth(const Layout& l, const std::u16string& text, int limit) {
    return std::min(l.measure(text, false), limit);
}

// The texts at both ends of an axis running from `start` to `end`, each cut to half the axis
// less 4: the minimum begins 3 pixels before the start, the maximum ends 5 past the end.
// X labels (rotated) sit at x = `across`, Y labels at y = `across`.
void AppendEndLabels(ChartScene& scene, const Layout& l, const AxisEndLabels& labels, bool rotated,
                     int start, int end, int across) {
    const int limit = (end - start) / 2 - 4;
    const int minWidth = ClippedWidth(l, labels.minimum, limit);
    const int maxWidth = ClippedWidth(l, labels.maximum, limit);
    auto at = [&](int along) {
        return rotated ? PixelPoint{across, along} : PixelPoint{along, across};
    };
    if (minWidth > 0)
        scene.push_back(Text(at(start - 3), minWidth, labels.minimum, false, rotated, kSceneBlack));
    if (maxWidth > 0)
        scene.push_back(
            Text(at(end - maxWidth + 5), maxWidth, labels.maximum, false, rotated, kSceneBlack));
}

void AppendYAxis(ChartScene& scene, const Layout& l, const ChartAxes& axes) {
    const PixelRect& p = l.plot;
    AppendEndLabels(scene, l, YAxisEndLabels(l.m, axes.y), false, p.left, p.right, p.top - 23);
    for (const AxisTick& tick : NumericTicks(axes.y)) {
        const int x = TruncatePixel(AxisPixel(tick.fraction, p.left, p.right));
        scene.push_back(SceneFill{SpanRect(x, p.top + 1, x + 1, p.top - tick.length)});
    }
}

void AppendXTick(ChartScene& scene, const PixelRect& p, double fraction, int length) {
    const int y = TruncatePixel(AxisPixel(fraction, p.top, p.bottom));
    scene.push_back(SceneFill{SpanRect(p.left + 1, y, p.left - length, y + 1)});
}

// The two end labels of a Numeric or DateTime X axis.
void AppendXEndLabels(ChartScene& scene, const Layout& l, const AxisEndLabels& labels) {
    const PixelRect& p = l.plot;
    AppendEndLabels(scene, l, labels, true, p.top, p.bottom, p.left - 21);
}

void AppendRowLabels(ChartScene& scene, const Layout& l) {
    const PixelRect& p = l.plot;
    const int32_t rows = GetRowCount(l.m);
    if (rows <= 0)
        return;
    const int limit = (p.bottom - p.top) / (rows / LabelRowStep(rows)) - 2;
    for (const RowLabel& label : RowLabels(l.m)) {
        const int y = TruncatePixel(AxisPixel(label.fraction, p.top, p.bottom));
        scene.push_back(SceneFill{SpanRect(p.left + 1, y, p.left - 4, y + 1)});
        const int width = ClippedWidth(l, label.text, limit);
        if (width > 0)
            scene.push_back(
                Text({p.left - 21, y - width / 2}, width, label.text, false, true, kSceneBlack));
    }
}

void AppendXAxis(ChartScene& scene, const Layout& l, const ChartAxes& axes) {
    switch (l.m.XKind()) {
    case MatrixXKind::None:
        return;
    case MatrixXKind::Labels:
        AppendRowLabels(scene, l);
        return;
    case MatrixXKind::Numeric:
        AppendXEndLabels(scene, l, XAxisEndLabels(l.m, axes.x, axes.dates));
        for (const AxisTick& tick : NumericTicks(axes.x))
            AppendXTick(scene, l.plot, tick.fraction, tick.length);
        return;
    case MatrixXKind::DateTime: {
        AppendXEndLabels(scene, l, XAxisEndLabels(l.m, axes.x, axes.dates));
        const DateUnit unit = ChooseDateUnit(axes.dates.first, axes.dates.last);
        for (const AxisTick& tick : DateTicks(axes.dates.first, axes.dates.last, unit))
            AppendXTick(scene, l.plot, tick.fraction, tick.length);
        return;
    }
    }
}

} // namespace

ChartScene BuildFullScreenChart(const MatrixData& m, const PixelRect& client,
                                const DeviceSettings* settings, const TextMeasure& measure) {
    const Layout l{m, measure, FullScreenClient(client), FullScreenPlotArea(client, m.XKind())};
    const PixelRect& p = l.plot;
    ChartScene scene;
    scene.push_back(SceneFill{l.client, kSceneWhite});
    AppendXTitle(scene, l);
    AppendLegend(scene, l);

    const ChartAxes axes = ComputeChartAxes(m, settings);
    AppendYAxis(scene, l, axes);
    AppendXAxis(scene, l, axes);
    scene.push_back(SceneFill{SpanRect(p.right, p.top, p.left, p.top + 1)});
    scene.push_back(SceneFill{SpanRect(p.left, p.top, p.left + 1, p.bottom)});

    SeriesFrame series;
    series.plot = p;
    series.clip = Inflate(p, 2);
    series.rowsRunDown = true;
    scene.push_back(SceneClip{series.clip});
    AppendSeries(scene, m, axes, FullScreenSeriesStyle(m.m_appearance), series);
    return scene;
}

} // namespace ksv

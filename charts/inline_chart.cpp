#include "charts/inline_chart.h"

#include "charts/chart_axes.h"
#include "charts/matrix_access.h"
#include "charts/matrix_setup.h"
#include "charts/series_scene.h"

namespace ksv {
namespace {

void AppendBackground(ChartScene& scene, const PixelRect& item, bool border) {
    if (!border) {
        scene.push_back(SceneFill{item, kSceneWhite});
        return;
    }
    scene.push_back(SceneFill{item, kSceneBlack});
    scene.push_back(SceneFill{Inflate(item, -1), kSceneWhite});
}

void AppendLegend(ChartScene& scene, const MatrixData& m, const PixelRect& frame,
                  const TextMeasure& measure) {
    const uint32_t series = GetSeriesCount(m);
    for (uint32_t s = 0; s < series; ++s) {
        const Band band = InlineLegendBand(frame, s, series);
        const std::u16string& name = SeriesName(m, s);
        const CentredText placed = CentreInSpan(band.end - band.start - 2, measure(name, true));
        if (placed.width <= 0)
            continue;
        scene.push_back(SceneText{{frame.left, band.start + 1 + placed.offset},
                                  placed.width,
                                  placed.height,
                                  name,
                                  true,
                                  true,
                                  SeriesColour(s)});
    }
}

void AppendXTitle(ChartScene& scene, const MatrixData& m, const PixelRect& frame,
                  const PixelRect& plot, const TextMeasure& measure) {
    if (m.m_xTitle.empty())
        return;
    const CentredText placed = CentreInSpan(plot.right - plot.left, measure(m.m_xTitle, true));
    if (placed.width <= 0)
        return;
    scene.push_back(SceneText{{plot.left + placed.offset, frame.bottom - 18},
                              placed.width,
                              placed.height,
                              m.m_xTitle,
                              true,
                              false,
                              kSceneBlack});
}

} // namespace

ChartScene BuildInlineChart(const MatrixData& m, const PixelRect& item,
                            const InlineChartOptions& options, const TextMeasure& measure) {
    ChartScene scene;
    scene.push_back(SceneClip{item});
    AppendBackground(scene, item, options.border);
    const PixelRect frame = InlineChartFrame(item, options.border);
    const PixelRect plot = InlinePlotArea(frame);
    AppendLegend(scene, m, frame, measure);
    AppendXTitle(scene, m, frame, plot, measure);

    const ChartAxes axes = ComputeChartAxes(m, options.settings);
    scene.push_back(SceneFill{SpanRect(plot.left, plot.top, plot.left + 1, plot.bottom)});
    scene.push_back(SceneFill{SpanRect(plot.left, plot.bottom, plot.right, plot.bottom - 1)});

    SeriesFrame series;
    series.plot = plot;
    series.clip = Inflate(plot, 2);
    scene.push_back(SceneClip{series.clip});
    AppendSeries(scene, m, axes, InlineSeriesStyle(m.m_appearance), series);
    return scene;
}

} // namespace ksv

#pragma once

#include "charts/chart_axes.h"
#include "charts/chart_scene.h"
#include "charts/matrix_data.h"
#include "charts/series_style.h"

namespace ksv {

// Where the series go: the plot area, the clip, and which way the chart is turned. Inline,
// rows run left to right and values grow upward; full screen, rows run down the left edge and
// values grow to the right.
struct SeriesFrame {
    PixelRect plot;
    PixelRect clip;
    bool rowsRunDown = false;
};

// Every series of the chart in its style, series 0 first.
void AppendSeries(ChartScene& scene, const MatrixData& m, const ChartAxes& axes, SeriesStyle style,
                  const SeriesFrame& frame);

} // namespace ksv

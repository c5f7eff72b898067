#pragma once

#include "charts/chart_scene.h"
#include "charts/matrix_data.h"

namespace ksv {

class DeviceSettings;

// The chart of the chart/table dialog, turned on its side: values run left to right along
// the top edge, X runs down the left edge, and both axes carry end labels and tick marks.
// Laid out at least kMinimumChartHeight high.
ChartScene BuildFullScreenChart(const MatrixData& m, const PixelRect& client,
                                const DeviceSettings* settings, const TextMeasure& measure);

} // namespace ksv

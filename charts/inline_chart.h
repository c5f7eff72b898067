#pragma once

#include "charts/chart_scene.h"
#include "charts/matrix_data.h"

namespace ksv {

class DeviceSettings;

// The chart drawn inside a panel control: legend names turned on their side at the left, the
// X title underneath, the two axis lines and the series; no ticks or axis numbers.
struct InlineChartOptions {
    bool border = false;
    const DeviceSettings* settings = nullptr; // axis overrides; none when null
};

ChartScene BuildInlineChart(const MatrixData& m, const PixelRect& item,
                            const InlineChartOptions& options, const TextMeasure& measure);

} // namespace ksv

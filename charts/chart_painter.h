#pragma once

#include "charts/chart_scene.h"

class QPainter;

namespace ksv {

// Paints a chart's scene; the painter's own clip, if any, still applies.
void PaintChartScene(QPainter& painter, const ChartScene& scene);

// Widths of texts in the chart fonts.
TextMeasure ChartTextMeasure();

} // namespace ksv

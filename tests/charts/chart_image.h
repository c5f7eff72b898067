#pragma once

#include "charts/chart_painter.h"
#include "charts/full_screen_chart.h"
#include "charts/inline_chart.h"

#include <QImage>
#include <QPainter>

namespace ksv {

inline const QColor kOutside(255, 0, 255);

// An image of `canvas` pixels, magenta wherever the chart does not paint.
inline QImage RenderScene(const ChartScene& scene, QSize canvas) {
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(kOutside);
    QPainter painter(&image);
    PaintChartScene(painter, scene);
    return image;
}

inline QImage RenderInline(const MatrixData& m, const PixelRect& item, QSize canvas,
                           bool border = false) {
    InlineChartOptions options;
    options.border = border;
    return RenderScene(BuildInlineChart(m, item, options, ChartTextMeasure()), canvas);
}

inline bool IsBlack(QRgb pixel) {
    return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40;
}

} // namespace ksv

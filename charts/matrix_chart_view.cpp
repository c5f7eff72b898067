#include "charts/matrix_chart_view.h"

#include "charts/chart_painter.h"
#include "charts/full_screen_chart.h"

#include <QPainter>

namespace ksv {

MatrixChartView::MatrixChartView(const MatrixData* data, QWidget* parent)
    : QWidget(parent), m_data(data) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MatrixChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_data == nullptr) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    const PixelRect client{0, 0, width(), height()};
    PaintChartScene(painter, BuildFullScreenChart(*m_data, client, m_settings, ChartTextMeasure()));
}

} // namespace ksv

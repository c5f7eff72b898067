#include "charts/chart_wnd.h"

#include "charts/chart_painter.h"
#include "charts/inline_chart.h"

#include <QPainter>

CChartWnd::CChartWnd(const ksv::MatrixData* data, QWidget* parent)
    : QPushButton(parent), m_data(data) {}

void CChartWnd::SetBorder(bool border) {
    m_bBorder = border;
    update();
}

void CChartWnd::SetDeviceSettings(const ksv::DeviceSettings* settings) {
    m_settings = settings;
    update();
}

void CChartWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_data == nullptr) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    ksv::InlineChartOptions options;
    options.border = m_bBorder;
    options.settings = m_settings;
    const ksv::PixelRect item{0, 0, width(), height()};
    ksv::PaintChartScene(painter,
                         ksv::BuildInlineChart(*m_data, item, options, ksv::ChartTextMeasure()));
}

#pragma once

#include "charts/matrix_data.h"

#include <QWidget>

namespace ksv {

class DeviceSettings;

// The full-screen chart inside the chart/table dialog. Repainted when the dialog refreshes.
class MatrixChartView : public QWidget {
    Q_OBJECT

public:
    MatrixChartView(const MatrixData* data, QWidget* parent);

    void SetDeviceSettings(const DeviceSettings* settings) { m_settings = settings; }
    void Detach() { m_data = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const MatrixData* m_data;
    const DeviceSettings* m_settings = nullptr;
};

} // namespace ksv

#pragma once

#include "charts/matrix_data.h"

#include <QPushButton>

namespace ksv {
class DeviceSettings;
}

// The inline chart of a chart/table control: a button that paints the whole chart itself.
// The owner calls update() after every change of the data; the data (and the settings, when
// given) outlive the window. GUI thread only.
class CChartWnd : public QPushButton {
    Q_OBJECT

public:
    CChartWnd(const ksv::MatrixData* data, QWidget* parent);

    // A one-pixel black border inside the rectangle (the control's border setting).
    void SetBorder(bool border);
    // Where the axis overrides of the device are read; none without.
    void SetDeviceSettings(const ksv::DeviceSettings* settings);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ksv::MatrixData* m_data;
    const ksv::DeviceSettings* m_settings = nullptr;
    bool m_bBorder = false;
};

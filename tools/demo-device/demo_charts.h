#pragma once

#include "link/device_encoder.h"

#include <cstdint>
#include <vector>

namespace ksv::demo {

// The demo's chart and table controls: each keeps a ring of rows that grows by one a second.
enum DemoChartId : uint32_t {
    kIdLineChart = 40,   // two temperatures, rows only numbered
    kIdColumnChart = 41, // three power draws over a tick counter
    kIdPointsChart = 42, // humidity and dew point at the device's clock time
    kIdReadings = 43,    // a table of electrical readings at the device's clock time
};

// The panel with the chart controls added at its end.
std::vector<DeviceControl> WithDemoCharts(std::vector<DeviceControl> panel);
// The recommended layout with the charts' places added: one a page from kFirstChartPage on,
// the whole area with the caption above, each in its inline appearance.
std::vector<LayoutEntry> WithDemoChartLayout(std::vector<LayoutEntry> entries);

// The rows the device pushes: one MatrixRows frame a second with a row for every chart.
class DemoCharts {
public:
    void Reset() { m_rowsWritten = 0; }
    DeviceMessage NextRows();

private:
    uint32_t m_rowsWritten = 0;
};

} // namespace ksv::demo

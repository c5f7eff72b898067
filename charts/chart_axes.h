#pragma once

#include "charts/axis_range.h"
#include "charts/matrix_data.h"

#include <vector>

namespace ksv {

class DeviceSettings;

// The axes of one paint: the rounded Y range, the rounded X range (Numeric X) and the first
// and last dates (DateTime X). Computed afresh for every paint.
struct ChartAxes {
    NiceAxis y;
    NiceAxis x;
    DateRange dates;
    int32_t rows = 0;
};
ChartAxes ComputeChartAxes(const MatrixData& m, const DeviceSettings* settings);

// Where each row lies along the X axis (0 at its start, 1 at its end); NaN for a dated row
// whose date the data does not hold.
std::vector<double> RowFractions(const MatrixData& m, const ChartAxes& axes);
// Where a value lies along the Y axis.
double ValueFraction(const ChartAxes& axes, double value);

} // namespace ksv

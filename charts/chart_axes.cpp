#include "charts/chart_axes.h"

#include "charts/calendar_time.h"
#include "charts/matrix_access.h"

#include <algorithm>
#include <cmath>

namespace ksv {
namespace {

double RowFraction(const MatrixData& m, const ChartAxes& axes, int32_t i) {
    switch (m.XKind()) {
    case MatrixXKind::Numeric:
        return (GetXValue(m, i) - axes.x.minimum) / (axes.x.maximum - axes.x.minimum);
    case MatrixXKind::DateTime: {
        const std::optional<PackedDateTime> packed = GetXDateTime(m, i);
        if (!packed)
            return NAN;
        return DateFraction(ToCalendarTime(*packed), axes.dates.first, axes.dates.last);
    }
    case MatrixXKind::None:
    case MatrixXKind::Labels:
        break;
    }
    return (i + 0.5) / axes.rows;
}

} // namespace

ChartAxes ComputeChartAxes(const MatrixData& m, const DeviceSettings* settings) {
    ChartAxes axes;
    axes.rows = GetRowCount(m);
    const ValueRange y = FindYRange(m, settings);
    axes.y = NiceRange(y.minimum, y.maximum);
    if (m.XKind() == MatrixXKind::Numeric) {
        const ValueRange x = FindXRange(m, settings);
        axes.x = NiceRange(x.minimum, x.maximum);
    }
    if (m.XKind() == MatrixXKind::DateTime)
        axes.dates = FindDateRange(m);
    return axes;
}

std::vector<double> RowFractions(const MatrixData& m, const ChartAxes& axes) {
    std::vector<double> fractions(static_cast<size_t>(std::max(axes.rows, 0)));
    for (int32_t i = 0; i < axes.rows; ++i)
        fractions[i] = RowFraction(m, axes, i);
    return fractions;
}

double ValueFraction(const ChartAxes& axes, double value) {
    return (value - axes.y.minimum) / (axes.y.maximum - axes.y.minimum);
}

} // namespace ksv

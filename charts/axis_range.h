#pragma once

#include "charts/calendar_time.h"
#include "charts/matrix_data.h"
#include "platform/layout/layout_attributes.h"

namespace ksv {

class DeviceSettings;

struct ValueRange {
    double minimum = 0;
    double maximum = 1;
};

// Smallest and largest Y over every series and row; 0..1 without series; equal ends widened
// by one. Then the overrides 512/528 when `settings` is given (read as unsigned, scaled by
// 10^m_yExponent); an override may leave the range empty or inverted.
ValueRange FindYRange(const MatrixData& m, const DeviceSettings* settings);
// The same over the Numeric X values with the overrides 544/560.
ValueRange FindXRange(const MatrixData& m, const DeviceSettings* settings);

struct DateRange {
    CalendarTime first;
    CalendarTime last;
};
// Earliest and latest X date; 2000-01-01 01:00:00 without rows; equal ends moved one second
// apart.
DateRange FindDateRange(const MatrixData& m);

struct NiceAxis {
    double minimum = 0;
    double maximum = 1;
    double unit = 0.1;
    bool fine = true; // short ticks are drawn too
};
// The range widened outward to whole multiples of a power-of-ten unit. An empty, inverted or
// non-finite range is first made min..min+1 (0..1 when min is not finite).
NiceAxis NiceRange(double min, double max);

} // namespace ksv

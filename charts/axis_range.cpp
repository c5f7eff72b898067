#include "charts/axis_range.h"

#include "charts/matrix_access.h"
#include "platform/device_settings.h"

#include <cmath>

namespace ksv {
namespace {

void ApplyOverrides(ValueRange& range, const MatrixData& m, const DeviceSettings* settings,
                    uint32_t minAttr, uint32_t maxAttr, int8_t exponent) {
    if (settings == nullptr)
        return;
    const double scale = std::pow(10.0, exponent);
    auto read = [&](uint32_t attr) {
        return static_cast<uint32_t>(settings->GetDeviceInt(m.m_deviceId, attr, 0)) * scale;
    };
    if (settings->HasDeviceInt(m.m_deviceId, minAttr))
        range.minimum = read(minAttr);
    if (settings->HasDeviceInt(m.m_deviceId, maxAttr))
        range.maximum = read(maxAttr);
}

void Include(ValueRange& range, bool& started, double value) {
    if (!started) {
        range.minimum = range.maximum = value;
        started = true;
        return;
    }
    if (value < range.minimum)
        range.minimum = value;
    if (value > range.maximum)
        range.maximum = value;
}

} // namespace

ValueRange FindYRange(const MatrixData& m, const DeviceSettings* settings) {
    ValueRange range;
    bool started = false;
    const int32_t rows = GetRowCount(m);
    const uint32_t series = GetSeriesCount(m);
    for (uint32_t s = 0; s < series; ++s)
        for (int32_t i = 0; i < rows; ++i)
            Include(range, started, GetYValue(m, i, s));
    if (!started)
        range = ValueRange{};
    if (range.maximum == range.minimum)
        range.maximum += 1;
    ApplyOverrides(range, m, settings, kAttrYMinimum, kAttrYMaximum, m.m_yExponent);
    return range;
}

ValueRange FindXRange(const MatrixData& m, const DeviceSettings* settings) {
    ValueRange range;
    bool started = false;
    // Other kinds read 0 everywhere; their rows add nothing to walk.
    const int32_t rows = m.XKind() == MatrixXKind::Numeric ? GetRowCount(m) : 0;
    for (int32_t i = 0; i < rows; ++i)
        Include(range, started, GetXValue(m, i));
    if (!started)
        range = ValueRange{};
    if (range.maximum == range.minimum)
        range.maximum += 1;
    ApplyOverrides(range, m, settings, kAttrXMinimum, kAttrXMaximum, m.m_xExponent);
    return range;
}

DateRange FindDateRange(const MatrixData& m) {
    DateRange range;
    range.first.year = 2000;
    range.first.month = 1;
    range.first.weekday = 1;
    range.first.day = 1;
    range.first.hour = 1;
    range.last = range.first;
    bool started = false;
    const int32_t rows = GetRowCount(m);
    for (int32_t i = 0; i < rows; ++i) {
        std::optional<PackedDateTime> packed = GetXDateTime(m, i);
        if (!packed)
            continue;
        const CalendarTime t = ToCalendarTime(*packed);
        if (!started) {
            range.first = range.last = t;
            started = true;
            continue;
        }
        if (IsEarlier(t, range.first))
            range.first = t;
        if (IsEarlier(range.last, t))
            range.last = t;
    }
    if (CompareCalendarTime(range.first, range.last) == 0) {
        if (range.last.second < 59)
            ++range.last.second;
        if (range.first.second > 0)
            --range.first.second;
    }
    return range;
}

NiceAxis NiceRange(double min, double max) {
    if (!std::isfinite(min))
        min = 0;
    if (!std::isfinite(max) || !(max > min))
        max = min + 1;
    if (!(max > min)) // min so large that +1 is lost
        max = min + std::fabs(min) * 1e-9;

    NiceAxis axis;
    const double range = max - min;
    if (!std::isfinite(range)) { // ends near the limits of double: keep them, no ticks
        axis.minimum = min;
        axis.maximum = max;
        axis.unit = max / 10 - min / 10;
        axis.fine = false;
        return axis;
    }
    const double l = std::log10(range) + 0.3;
    const double e = std::trunc(l);
    axis.unit = std::pow(10.0, e - 1);
    const double inverse = 1 / axis.unit;
    axis.fine = (l - e) < 0.5;

    double k = std::trunc(max * inverse);
    axis.maximum = k * axis.unit >= max ? k * axis.unit : (k + 1) * axis.unit;
    k = std::trunc(min * inverse);
    axis.minimum = k * axis.unit <= min ? k * axis.unit : (k - 1) * axis.unit;
    return axis;
}

} // namespace ksv

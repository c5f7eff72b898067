#include "charts/axis_ticks.h"

#include "charts/matrix_access.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace ksv {
namespace {

// Beyond this, k + 1 may round back to k and the multiples of the unit blur.
constexpr double kExactLimit = 1e15;

// Round years drawn on an axis too long to walk: about as many as a month walk of 333 years.
constexpr int kMaxYearTicks = 400;

// A span of a year or more in steps under a day (the unit rules let spans of one to five years
// fall through to hours or seconds) would take up to 158 million steps. It is walked a day at
// a time with month ticks instead, as a span of several months is.
int WalkUnit(const CalendarTime& first, const CalendarTime& last, int unit) {
    if (unit < kUnitSecond || unit > kUnitSixHours)
        return unit;
    return SubtractCalendarTime(last, first).year >= 1 ? kUnitMonths : unit;
}

// Steps back from last by the unit, so ticks are anchored at the last date; ticks of length 0
// are left out. Nothing when the walk would need more than kMaxDateSteps steps.
std::optional<std::vector<AxisTick>> WalkDateTicks(const CalendarTime& first,
                                                   const CalendarTime& last, int unit) {
    std::vector<AxisTick> ticks;
    CalendarTime t = last;
    for (int steps = 0; !IsEarlier(t, first); ++steps) {
        if (steps == kMaxDateSteps)
            return std::nullopt;
        int length = DateTickLength(t, unit);
        CalendarTime n = t;
        StepBackDateUnit(n, unit);
        if (ToPackedDateTime(t) == ToPackedDateTime(last) || IsEarlier(n, first))
            length = 8;
        if (length > 0)
            ticks.push_back({DateFraction(t, first, last), length});
        // No progress (unit 11) or a wrap past year 0 would never end the walk.
        if (!IsEarlier(n, t))
            break;
        t = n;
    }
    return ticks;
}

// 1 January of every stride-th year strictly between the ends, the stride the power of ten
// that keeps them within kMaxYearTicks, and both ends as end ticks.
std::vector<AxisTick> YearTicks(const CalendarTime& first, const CalendarTime& last) {
    std::vector<AxisTick> ticks{{DateFraction(last, first, last), 8}};
    int stride = 1;
    while ((last.year - first.year) / stride > kMaxYearTicks)
        stride *= 10;
    for (int year = last.year - last.year % stride; year >= first.year; year -= stride) {
        CalendarTime t;
        t.year = static_cast<uint16_t>(year);
        t.month = 1;
        t.day = 1;
        if (IsEarlier(t, last) && IsEarlier(first, t))
            ticks.push_back({DateFraction(t, first, last), DateTickLength(t, kUnitYears)});
    }
    ticks.push_back({DateFraction(first, first, last), 8});
    return ticks;
}

} // namespace

std::vector<AxisTick> NumericTicks(const NiceAxis& axis) {
    std::vector<AxisTick> ticks;
    const double span = axis.maximum - axis.minimum;
    if (!(span > 0) || !(axis.unit > 0) || !std::isfinite(span))
        return ticks;
    const double inverse = 1 / axis.unit;
    const double start = std::trunc(axis.minimum * inverse);
    if (std::fabs(start) > kExactLimit || std::fabs(axis.maximum * inverse) > kExactLimit)
        return ticks;

    int64_t k = static_cast<int64_t>(start) - 2;
    for (int guard = 0; k * axis.unit < axis.minimum && guard < kMaxNumericTicks; ++guard)
        ++k;
    const int64_t k0 = k;
    for (; k * axis.unit <= axis.maximum && ticks.size() < kMaxNumericTicks; ++k) {
        int length = k % 10 == 0 ? 6 : k % 5 == 0 ? 4 : 2;
        if (k == k0 || (k + 1) * axis.unit > axis.maximum)
            length = 8;
        else if (length == 2 && !axis.fine)
            continue;
        ticks.push_back({(k * axis.unit - axis.minimum) / span, length});
    }
    return ticks;
}

std::vector<AxisTick> DateTicks(const CalendarTime& first, const CalendarTime& last, int unit) {
    if (std::optional<std::vector<AxisTick>> ticks =
            WalkDateTicks(first, last, WalkUnit(first, last, unit)))
        return *ticks;
    return YearTicks(first, last);
}

int32_t LabelRowStep(int32_t rows) {
    if (rows <= 0)
        return 1;
    return (rows - 1) / 6 + 1;
}

std::vector<RowLabel> RowLabels(const MatrixData& m) {
    std::vector<RowLabel> labels;
    const MatrixXKind kind = m.XKind();
    if (kind != MatrixXKind::None && kind != MatrixXKind::Labels)
        return labels;
    const int32_t rows = GetRowCount(m);
    const int32_t step = LabelRowStep(rows);
    for (int32_t i = 0; i < rows; i += step) {
        RowLabel label;
        label.row = i;
        label.fraction = (i + 0.5) / rows;
        // The row's own text, also when the ring has wrapped.
        if (kind == MatrixXKind::Labels)
            label.text = GetXLabelText(m, GetSlot(m, i));
        labels.push_back(std::move(label));
        if (i > INT32_MAX - step)
            break;
    }
    return labels;
}

} // namespace ksv

#pragma once

#include "charts/axis_range.h"
#include "charts/calendar_time.h"
#include "charts/matrix_data.h"

#include <string>
#include <vector>

namespace ksv {

// One tick mark to draw: position as a fraction of the axis (0 at its minimum or first
// date) and length in pixels (8 for the two end ticks).
struct AxisTick {
    double fraction = 0;
    int length = 0;
};

// Tick counts are capped so that hostile ranges cost a bounded amount of work.
constexpr int kMaxNumericTicks = 1000;
constexpr int kMaxDateSteps = 4000; // above the ~2 200 one-day steps of a six-year span

// Ticks of a numeric axis at every multiple of the unit, short ones only when fine. Empty
// when the axis has no span or its multiples are beyond exact double arithmetic.
std::vector<AxisTick> NumericTicks(const NiceAxis& axis);

// Ticks of a date axis, stepped back from `last` by the unit's step, so anchored at the last
// date. Ticks of length 0 are left out. Stops when a step no longer moves back in time. A span
// of a year or more is stepped a day at a time at least; one that would still take more than
// kMaxDateSteps steps gets ticks on round years instead. Either way the axis is covered to its
// first date, which has an end tick.
std::vector<AxisTick> DateTicks(const CalendarTime& first, const CalendarTime& last, int unit);

// Every step-th row of n gets a label: 1 for up to 6 rows, 2 for 7 to 12, ...
int32_t LabelRowStep(int32_t rows);

// A label under a row of a chart whose rows sit at the centres of equal slots (X kinds None
// and Labels).
struct RowLabel {
    int32_t row = 0;
    double fraction = 0; // the row's centre along the X axis
    std::u16string text; // the row's X text for Labels, empty for None
};
std::vector<RowLabel> RowLabels(const MatrixData& m);

} // namespace ksv

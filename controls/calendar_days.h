#pragma once

#include <cstdint>

namespace ksv {

// Gregorian calendar lengths, shared by the date formatter and the chart date axis.

bool IsLeapYear(int year);
int DaysInYear(int year);
// 2: 29 or 28; 4, 6, 9, 11: 30; every other value, 0 and 13 included: 31.
int DaysInMonth(int month, int year);
// 0 = Sunday .. 6 = Saturday, for a real Gregorian date (month 1..12, day within the month).
int DayOfWeek(int year, int month, int day);

} // namespace ksv

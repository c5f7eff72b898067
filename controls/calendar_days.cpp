#include "controls/calendar_days.h"

namespace ksv {

bool IsLeapYear(int year) {
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int DaysInYear(int year) {
    return IsLeapYear(year) ? 366 : 365;
}

int DaysInMonth(int month, int year) {
    switch (month) {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

int DayOfWeek(int year, int month, int day) {
    // Sakamoto's method: counts from a March-based year, so February's leap day comes last.
    static constexpr int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        --year;
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffset[month - 1] + day) % 7;
}

} // namespace ksv

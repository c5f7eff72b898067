#pragma once

#include "controls/calendar_days.h"
#include "controls/packed_date_time.h"

#include <cstdint>

namespace ksv {

// Eight-field calendar time used for the chart date axis.
struct CalendarTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t weekday = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t millisecond = 0;

    bool operator==(const CalendarTime& o) const;
    bool operator!=(const CalendarTime& o) const { return !(*this == o); }
};

CalendarTime ToCalendarTime(const PackedDateTime& packed);
PackedDateTime ToPackedDateTime(const CalendarTime& t);

// Year down to millisecond, weekday ignored. Note the sign: -1 when a is LATER than b,
// 1 when a is earlier, 0 when equal.
int CompareCalendarTime(const CalendarTime& a, const CalendarTime& b);
inline bool IsEarlier(const CalendarTime& a, const CalendarTime& b) {
    return CompareCalendarTime(a, b) > 0;
}

// later - earlier field by field with 16-bit wrap-around and one borrow per field (the
// milliseconds borrow until not negative). Weekday is 0.
CalendarTime SubtractCalendarTime(const CalendarTime& later, const CalendarTime& earlier);

// Date axis units, from 4 (seconds) to 15 (decades). 11 is never chosen.
enum DateUnit : int {
    kUnitSecond = 4,
    kUnitTenSeconds = 5,
    kUnitMinute = 6,
    kUnitTenMinutes = 7,
    kUnitHour = 8,
    kUnitSixHours = 9,
    kUnitDay = 10,
    kUnitUnused = 11,
    kUnitMonth = 12,
    kUnitMonths = 13,
    kUnitQuarterYears = 14,
    kUnitYears = 15,
};

DateUnit ChooseDateUnit(const CalendarTime& first, const CalendarTime& last);
// One step of the unit back in time (one month for 15, one day for 10 and 12..14, 6 hours
// for 9 ...); unit 11 and units outside 4..15 leave t unchanged.
void StepBackDateUnit(CalendarTime& t, int unit);
// Length of the tick at t: 6, 4, 2, or 0 for no visible mark.
int DateTickLength(const CalendarTime& t, int unit);
// Where t lies between first and last, as a fraction (0 at first, 1 at last). 0 when the
// span is empty.
double DateFraction(const CalendarTime& t, const CalendarTime& first, const CalendarTime& last);

} // namespace ksv

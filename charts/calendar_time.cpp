#include "charts/calendar_time.h"

#include <cmath>

namespace ksv {
namespace {

bool NegativeWord(int value) {
    return static_cast<int16_t>(static_cast<uint16_t>(value)) < 0;
}

uint16_t Word(int value) {
    return static_cast<uint16_t>(value);
}

// Days from `from` to `to` as the date axis counts them: time fields as fractions of a day,
// then whole months walked from from.month, then whole years.
double DaysBetween(const CalendarTime& from, const CalendarTime& to) {
    double days = (to.minute - from.minute) / 1440.0 + (to.second - from.second) / 86400.0 +
                  (to.millisecond - from.millisecond) / 86400000.0 + (to.hour - from.hour) / 24.0 +
                  (to.day - from.day);
    int month = from.month;
    int year = from.year;
    bool wrapped = false;
    // A month outside 1..12 is never reached by the walk: twelve steps see every month.
    for (int steps = 0; month != to.month && steps < 12; ++steps) {
        days += DaysInMonth(month, year);
        ++month;
        if (month > 12) {
            month = 1;
            ++year;
            wrapped = true;
        }
    }
    for (int y = from.year + (wrapped ? 1 : 0); y < to.year; ++y)
        days += DaysInYear(y);
    return days;
}

void StepBackMonthOf(CalendarTime& t) {
    if (t.month <= 1) {
        t.month = 12;
        t.year = Word(t.year - 1);
    } else {
        t.month = Word(t.month - 1);
    }
}

void SubtractTime(CalendarTime& t, int days, int hours, int minutes, int seconds) {
    int second = t.second - seconds;
    int minute = t.minute - minutes;
    int hour = t.hour - hours;
    int day = t.day - days;
    int weekday = t.weekday - days;
    if (second < 0) {
        second += 60;
        --minute;
    }
    if (minute < 0) {
        minute += 60;
        --hour;
    }
    if (hour < 0) {
        hour += 24;
        --day;
        --weekday;
    }
    weekday %= 7;
    if (weekday < 0)
        weekday += 7;
    t.second = Word(second);
    t.minute = Word(minute);
    t.hour = Word(hour);
    t.weekday = Word(weekday);
    while (day < 1) {
        StepBackMonthOf(t);
        day += DaysInMonth(t.month, t.year);
    }
    t.day = Word(day);
}

} // namespace

bool CalendarTime::operator==(const CalendarTime& o) const {
    return year == o.year && month == o.month && weekday == o.weekday && day == o.day &&
           hour == o.hour && minute == o.minute && second == o.second &&
           millisecond == o.millisecond;
}

CalendarTime ToCalendarTime(const PackedDateTime& p) {
    CalendarTime t;
    t.year = p.Year();
    t.month = p.Month();
    t.weekday = p.Weekday();
    t.day = p.Day();
    t.hour = p.Hour();
    t.minute = p.Minute();
    t.second = p.Second();
    return t;
}

PackedDateTime ToPackedDateTime(const CalendarTime& t) {
    auto byte = [](uint16_t v) { return static_cast<uint8_t>(v); };
    return PackedDateTime::Make(t.year, byte(t.month), byte(t.day), byte(t.hour), byte(t.minute),
                                byte(t.second), byte(t.weekday));
}

int CompareCalendarTime(const CalendarTime& a, const CalendarTime& b) {
    const uint16_t CalendarTime::*fields[] = {&CalendarTime::year,       &CalendarTime::month,
                                              &CalendarTime::day,        &CalendarTime::hour,
                                              &CalendarTime::minute,     &CalendarTime::second,
                                              &CalendarTime::millisecond};
    for (auto field : fields) {
        if (a.*field > b.*field)
            return -1;
        if (a.*field < b.*field)
            return 1;
    }
    return 0;
}

CalendarTime SubtractCalendarTime(const CalendarTime& later, const CalendarTime& earlier) {
    CalendarTime out;
    out.millisecond = Word(later.millisecond - earlier.millisecond);
    while (NegativeWord(out.millisecond)) { // at most 33 rounds within 16 bits
        out.millisecond = Word(out.millisecond + 1000);
        out.second = Word(out.second - 1);
    }
    out.second = Word(out.second - earlier.second + later.second);
    if (NegativeWord(out.second)) {
        out.second = Word(out.second + 60);
        out.minute = Word(out.minute - 1);
    }
    out.minute = Word(out.minute - earlier.minute + later.minute);
    if (NegativeWord(out.minute)) {
        out.minute = Word(out.minute + 60);
        out.hour = Word(out.hour - 1);
    }
    out.hour = Word(out.hour - earlier.hour + later.hour);
    if (NegativeWord(out.hour)) {
        out.hour = Word(out.hour + 24);
        out.day = Word(out.day - 1);
    }
    out.day = Word(out.day - earlier.day + later.day);
    if (NegativeWord(out.day)) {
        out.day = Word(out.day + DaysInMonth(earlier.month, earlier.year));
        out.month = Word(out.month - 1);
    }
    out.month = Word(out.month - earlier.month + later.month);
    if (NegativeWord(out.month)) {
        out.month = Word(out.month + 12);
        out.year = Word(out.year - 1);
    }
    out.year = Word(out.year - earlier.year + later.year);
    out.weekday = 0;
    return out;
}

DateUnit ChooseDateUnit(const CalendarTime& first, const CalendarTime& last) {
    const CalendarTime d = SubtractCalendarTime(last, first);
    if (d.year > 5)
        return kUnitYears;
    if (d.year >= 1 && d.month == 3 && d.day == 0)
        return kUnitQuarterYears;
    if (d.month > 1)
        return kUnitMonths;
    if (d.month == 1)
        return kUnitMonth;
    if (d.day > 5)
        return kUnitDay;
    if (d.day >= 1)
        return kUnitSixHours;
    if (d.hour > 6)
        return kUnitHour;
    if (d.hour >= 1)
        return kUnitTenMinutes;
    if (d.minute > 5)
        return kUnitMinute;
    if (d.minute >= 1)
        return kUnitTenSeconds;
    return kUnitSecond;
}

void StepBackDateUnit(CalendarTime& t, int unit) {
    switch (unit) {
    case kUnitYears:
        // January steps back by DaysInMonth(0, ...), which is 31.
        SubtractTime(t, DaysInMonth(t.month - 1, t.year), 0, 0, 0);
        return;
    case kUnitDay:
    case kUnitMonth:
    case kUnitMonths:
    case kUnitQuarterYears:
        SubtractTime(t, 1, 0, 0, 0);
        return;
    case kUnitSixHours:
        SubtractTime(t, 0, 6, 0, 0);
        return;
    case kUnitHour:
        SubtractTime(t, 0, 1, 0, 0);
        return;
    case kUnitTenMinutes:
        SubtractTime(t, 0, 0, 10, 0);
        return;
    case kUnitMinute:
        SubtractTime(t, 0, 0, 1, 0);
        return;
    case kUnitTenSeconds:
        SubtractTime(t, 0, 0, 0, 10);
        return;
    case kUnitSecond:
        SubtractTime(t, 0, 0, 0, 1);
        return;
    default:
        return;
    }
}

int DateTickLength(const CalendarTime& t, int unit) {
    switch (unit) {
    case kUnitSecond:
        return t.second == 0 ? 6 : t.second % 10 == 0 ? 4 : 2;
    case kUnitTenSeconds:
        if (t.minute % 10 == 0 && t.second == 0)
            return 6;
        return t.second == 0 ? 4 : 2;
    case kUnitMinute:
        return t.minute == 0 ? 6 : t.minute % 10 == 0 ? 4 : 2;
    case kUnitTenMinutes:
        if (t.hour % 6 == 0 && t.minute == 0)
            return 6;
        return t.minute == 0 ? 4 : 2;
    case kUnitHour:
        return t.hour == 0 ? 6 : t.hour % 6 == 0 ? 4 : 2;
    case kUnitSixHours:
        if (t.day % 7 == 1 && t.hour == 0)
            return 6;
        return t.hour == 0 ? 4 : 2;
    case kUnitDay:
    case kUnitMonth:
        return t.day == 1 ? 6 : t.day % 7 == 1 ? 4 : 2;
    case kUnitMonths:
        if (t.month == 1 && t.day == 1)
            return 6;
        if (t.month % 3 == 1 && t.day == 1)
            return 4;
        return t.day == 1 ? 2 : 0;
    case kUnitQuarterYears:
        if (t.year % 10 == 0 && t.month == 1 && t.day == 1)
            return 6;
        if (t.month == 1 && t.day == 1)
            return 4;
        return t.month % 3 == 1 && t.day == 1 ? 2 : 0;
    case kUnitYears:
        if (t.year % 10 == 0 && t.month == 1)
            return 6;
        return t.month == 1 ? 4 : 0;
    default:
        return 0;
    }
}

double DateFraction(const CalendarTime& t, const CalendarTime& first, const CalendarTime& last) {
    if (last.year - first.year >= 101) {
        return static_cast<double>(t.year - first.year) / (last.year - first.year);
    }
    const double span = DaysBetween(first, last);
    const double part = DaysBetween(first, t);
    if (span == 0 || !std::isfinite(span) || !std::isfinite(part))
        return 0;
    return part / span;
}

} // namespace ksv

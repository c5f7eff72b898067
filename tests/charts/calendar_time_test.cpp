#include "charts/calendar_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ksv {
namespace {

CalendarTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    CalendarTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    return t;
}

TEST(CalendarDays, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInYear(2023), 365);
    EXPECT_EQ(DaysInYear(2024), 366);
    EXPECT_EQ(DaysInMonth(2, 2024), 29);
    EXPECT_EQ(DaysInMonth(2, 2023), 28);
    EXPECT_EQ(DaysInMonth(11, 2023), 30);
    EXPECT_EQ(DaysInMonth(0, 2023), 31);
    EXPECT_EQ(DaysInMonth(13, 2023), 31);
}

TEST(CalendarTime, ConversionKeepsSevenFields) {
    PackedDateTime p = PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2);
    CalendarTime t = ToCalendarTime(p);
    EXPECT_EQ(t.year, 2006);
    EXPECT_EQ(t.weekday, 2);
    EXPECT_EQ(t.millisecond, 0);
    t.millisecond = 500;
    EXPECT_EQ(ToPackedDateTime(t), p);
}

TEST(CompareCalendarTime, LaterFirstArgumentGivesMinusOne) {
    EXPECT_EQ(CompareCalendarTime(At(2006, 1, 1), At(2005, 12, 31)), -1);
    EXPECT_EQ(CompareCalendarTime(At(2005, 12, 31), At(2006, 1, 1)), 1);
    CalendarTime a = At(2006, 1, 1, 5);
    CalendarTime b = a;
    b.weekday = 4; // ignored
    EXPECT_EQ(CompareCalendarTime(a, b), 0);
    b.millisecond = 1;
    EXPECT_EQ(CompareCalendarTime(a, b), 1);
    EXPECT_TRUE(IsEarlier(a, b));
}

TEST(SubtractCalendarTime, BorrowsFieldByField) {
    CalendarTime d = SubtractCalendarTime(At(2006, 3, 1, 0, 0, 0), At(2006, 2, 28, 23, 59, 59));
    EXPECT_EQ(d.year, 0);
    EXPECT_EQ(d.month, 0);
    // A negative day adds the days of the earlier date's month (February 2006: 28).
    EXPECT_EQ(d.day, 0);
    EXPECT_EQ(d.hour, 0);
    EXPECT_EQ(d.minute, 0);
    EXPECT_EQ(d.second, 1);
    d = SubtractCalendarTime(At(2008, 1, 13), At(2006, 1, 3));
    EXPECT_EQ(d.year, 2);
    EXPECT_EQ(d.month, 0);
    EXPECT_EQ(d.day, 10);
    CalendarTime later = At(2006, 1, 1);
    CalendarTime earlier = later;
    earlier.millisecond = 2500;
    d = SubtractCalendarTime(later, earlier);
    EXPECT_EQ(d.millisecond, 500);
    EXPECT_EQ(d.second, static_cast<uint16_t>(-3 + 60));
}

TEST(ChooseDateUnit, FirstMatchingRuleOfTheSpan) {
    EXPECT_EQ(ChooseDateUnit(At(2000, 1, 1), At(2006, 1, 1)), kUnitYears);
    EXPECT_EQ(ChooseDateUnit(At(2000, 1, 1), At(2002, 4, 1)), kUnitQuarterYears);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 3), At(2008, 1, 13)), kUnitDay); // 2 y 0 m 10 d
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 3, 5)), kUnitMonths);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 2, 5)), kUnitMonth);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 1, 3)), kUnitSixHours);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 1, 1, 7)), kUnitHour);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 1, 1, 1)), kUnitTenMinutes);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 1, 1, 0, 6)), kUnitMinute);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 1, 1, 0, 1)), kUnitTenSeconds);
    EXPECT_EQ(ChooseDateUnit(At(2006, 1, 1), At(2006, 1, 1, 0, 0, 30)), kUnitSecond);
}

TEST(StepBackDateUnit, BorrowsAcrossMonthsYearsAndWeekdays) {
    CalendarTime t = At(2006, 1, 1);
    t.weekday = 0;
    StepBackDateUnit(t, kUnitDay);
    EXPECT_EQ(t, [] {
        CalendarTime e = At(2005, 12, 31);
        e.weekday = 6;
        return e;
    }());
    t = At(2024, 3, 1, 3);
    StepBackDateUnit(t, kUnitSixHours);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 21);
    // One month back from January subtracts DaysInMonth(0, ...) = 31 days.
    t = At(2006, 1, 15);
    StepBackDateUnit(t, kUnitYears);
    EXPECT_EQ(t.year, 2005);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 15);
    t = At(2006, 3, 31);
    StepBackDateUnit(t, kUnitYears); // 28 days of February
    EXPECT_EQ(t.month, 3);
    EXPECT_EQ(t.day, 3);
    t = At(2006, 1, 1, 0, 0, 5);
    StepBackDateUnit(t, kUnitTenSeconds);
    EXPECT_EQ(CompareCalendarTime(t, At(2005, 12, 31, 23, 59, 55)), 0);
    EXPECT_EQ(t.weekday, 6); // a day taken from weekday 0
    const CalendarTime before = t;
    StepBackDateUnit(t, kUnitUnused);
    StepBackDateUnit(t, 3);
    StepBackDateUnit(t, 16);
    EXPECT_EQ(t, before);
}

TEST(DateTickLength, FirstMatchingColumnWins) {
    EXPECT_EQ(DateTickLength(At(2006, 1, 1, 0, 0, 0), kUnitSecond), 6);
    EXPECT_EQ(DateTickLength(At(2006, 1, 1, 0, 0, 20), kUnitSecond), 4);
    EXPECT_EQ(DateTickLength(At(2006, 1, 1, 0, 0, 21), kUnitSecond), 2);
    EXPECT_EQ(DateTickLength(At(2006, 1, 1, 6, 0), kUnitTenMinutes), 6);
    EXPECT_EQ(DateTickLength(At(2006, 1, 8, 0), kUnitSixHours), 6);
    EXPECT_EQ(DateTickLength(At(2006, 1, 15), kUnitDay), 4);
    EXPECT_EQ(DateTickLength(At(2006, 4, 1), kUnitMonths), 4);
    EXPECT_EQ(DateTickLength(At(2006, 5, 2), kUnitMonths), 0);
    EXPECT_EQ(DateTickLength(At(2010, 1, 1), kUnitQuarterYears), 6);
    EXPECT_EQ(DateTickLength(At(2011, 7, 1), kUnitQuarterYears), 2);
    EXPECT_EQ(DateTickLength(At(2010, 1, 9), kUnitYears), 6);
    EXPECT_EQ(DateTickLength(At(2011, 2, 1), kUnitYears), 0);
    EXPECT_EQ(DateTickLength(At(2011, 1, 1), kUnitUnused), 0);
}

TEST(DateFraction, CountsDaysMonthsAndYears) {
    EXPECT_DOUBLE_EQ(DateFraction(At(2006, 1, 1, 12), At(2006, 1, 1), At(2006, 1, 2)), 0.5);
    EXPECT_DOUBLE_EQ(DateFraction(At(2006, 2, 1), At(2006, 1, 1), At(2006, 3, 1)), 31.0 / 59.0);
    EXPECT_DOUBLE_EQ(DateFraction(At(2007, 1, 1), At(2005, 11, 1), At(2008, 11, 1)),
                     (30 + 31 + 365) / (3.0 * 365));
    EXPECT_DOUBLE_EQ(DateFraction(At(1950, 6, 1), At(1900, 1, 1), At(2100, 1, 1)), 0.25);
    // Equal ends, or months that no walk reaches, give a finite result.
    EXPECT_EQ(DateFraction(At(2006, 1, 1), At(2006, 1, 1), At(2006, 1, 1)), 0.0);
    double f = DateFraction(At(2006, 20, 1), At(2006, 13, 1), At(2006, 14, 1));
    EXPECT_TRUE(std::isfinite(f));
}

} // namespace
} // namespace ksv

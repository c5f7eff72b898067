#include "dialogs/date_time_steps.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

constexpr uint32_t kDate = kDateTimeDayBit | kDateTimeMonthBit | kDateTimeYearBit;
constexpr uint32_t kWeekday = kDateTimeWeekdayBit | kDateTimeDayBit;
constexpr auto kUp = StepDirection::Up;
constexpr auto kDown = StepDirection::Down;

// Year, month, day, hour, minute, second, weekday.
PackedDateTime V(uint16_t y, uint8_t mo, uint8_t d, uint8_t h, uint8_t mi, uint8_t s,
                 uint8_t wd = 3) {
    return PackedDateTime::Make(y, mo, d, h, mi, s, wd);
}

struct StepCase {
    PackedDateTime before;
    DateTimeField field;
    StepDirection direction;
    uint32_t flags;
    PackedDateTime after;
};

TEST(DateTimeSteps, WrapWithinEachFieldsRange) {
    const StepCase cases[] = {
        // The day wraps within its month by the Gregorian rule; the month stays.
        {V(2000, 2, 29, 0, 0, 0), DateTimeField::Day, kUp, kDate, V(2000, 2, 1, 0, 0, 0)},
        {V(2000, 2, 1, 0, 0, 0), DateTimeField::Day, kDown, kDate, V(2000, 2, 29, 0, 0, 0)},
        {V(1900, 2, 1, 0, 0, 0), DateTimeField::Day, kDown, kDate, V(1900, 2, 28, 0, 0, 0)},
        {V(2001, 3, 1, 0, 0, 0), DateTimeField::Day, kDown, kDate, V(2001, 3, 31, 0, 0, 0)},
        {V(2001, 4, 30, 0, 0, 0), DateTimeField::Day, kUp, kDate, V(2001, 4, 1, 0, 0, 0)},
        {V(2001, 1, 1, 9, 7, 59), DateTimeField::Second, kUp, 0, V(2001, 1, 1, 9, 7, 0)},
        {V(2001, 1, 1, 9, 7, 0), DateTimeField::Second, kDown, 0, V(2001, 1, 1, 9, 7, 59)},
        {V(2001, 1, 1, 9, 0, 5), DateTimeField::Minute, kDown, 0, V(2001, 1, 1, 9, 59, 5)},
        {V(2001, 1, 1, 23, 7, 5), DateTimeField::Hour, kUp, 0, V(2001, 1, 1, 0, 7, 5)},
        {V(2001, 12, 1, 0, 0, 0), DateTimeField::Month, kUp, kDate, V(2001, 1, 1, 0, 0, 0)},
        {V(0, 1, 1, 0, 0, 0), DateTimeField::Year, kDown, kDate, V(65535, 1, 1, 0, 0, 0)},
        // A weekday control steps the weekday, Saturday to Sunday and back.
        {V(2001, 1, 1, 0, 0, 0, 6), DateTimeField::Day, kUp, kWeekday, V(2001, 1, 1, 0, 0, 0, 0)},
        {V(2001, 1, 1, 0, 0, 0, 0), DateTimeField::Day, kDown, kWeekday, V(2001, 1, 1, 0, 0, 0, 6)},
        // Fields a device sent out of range come back into range with one press.
        {V(2001, 13, 5, 0, 0, 0), DateTimeField::Month, kUp, kDate, V(2001, 1, 5, 0, 0, 0)},
        {V(2001, 200, 5, 0, 0, 0), DateTimeField::Month, kDown, kDate, V(2001, 12, 5, 0, 0, 0)},
        {V(2001, 4, 0, 0, 0, 0), DateTimeField::Day, kDown, kDate, V(2001, 4, 30, 0, 0, 0)},
        {V(2001, 4, 40, 0, 0, 0), DateTimeField::Day, kDown, kDate, V(2001, 4, 30, 0, 0, 0)},
        {V(2001, 13, 31, 0, 0, 0), DateTimeField::Day, kUp, kDate, V(2001, 13, 1, 0, 0, 0)},
        {V(2001, 1, 1, 200, 0, 0), DateTimeField::Hour, kUp, 0, V(2001, 1, 1, 0, 0, 0)},
    };
    for (const StepCase& c : cases) {
        EXPECT_EQ(StepDateTime(c.before, c.field, c.direction, c.flags).bytes, c.after.bytes)
            << "field " << static_cast<int>(c.field) << " from day " << int(c.before.Day())
            << " month " << int(c.before.Month()) << " year " << c.before.Year();
    }
}

TEST(DateTimeSteps, InvalidWeekdayOpensAsOneOnlyForWeekdayControls) {
    EXPECT_EQ(DateTimeOnOpening(V(2006, 4, 3, 1, 2, 3, 9), kDateTimeWeekdayBit).Weekday(), 1);
    EXPECT_EQ(DateTimeOnOpening(V(2006, 4, 3, 1, 2, 3, 9), kDate).Weekday(), 9);
    EXPECT_EQ(DateTimeOnOpening(V(2006, 4, 3, 1, 2, 3, 6), kDateTimeWeekdayBit).Weekday(), 6);
}

TEST(DateTimeSteps, NowCopiesOnlyTheFlaggedFields) {
    const PackedDateTime value = V(2006, 4, 3, 9, 7, 5, 1);
    const PackedDateTime now = V(2024, 12, 25, 18, 45, 59, 3);
    EXPECT_EQ(TakeFlaggedFields(value, now, kDateTimeHoursBit | kDateTimeMinutesBit),
              V(2006, 4, 3, 18, 45, 5, 1));
    EXPECT_EQ(TakeFlaggedFields(value, now, kDate), V(2024, 12, 25, 9, 7, 5, 1));
    EXPECT_EQ(TakeFlaggedFields(value, now, kDateTimeWeekdayBit), V(2006, 4, 3, 9, 7, 5, 3));
}

} // namespace
} // namespace ksv

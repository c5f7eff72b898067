#include "dialogs/date_time_steps.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

constexpr uint32_t kDateBits = kDateTimeDayBit | kDateTimeMonthBit | kDateTimeYearBit;
constexpr uint32_t kTimeBits = kDateTimeHoursBit | kDateTimeMinutesBit | kDateTimeSecondsBit;
constexpr uint32_t kWeekdayBits = kDateTimeWeekdayBit | kTimeBits;

PackedDateTime Date(uint16_t year, uint8_t month, uint8_t day) {
    return PackedDateTime::Make(year, month, day, 12, 30, 30, 3);
}

PackedDateTime Time(uint8_t hour, uint8_t minute, uint8_t second) {
    return PackedDateTime::Make(2006, 4, 3, hour, minute, second, 3);
}

struct StepCase {
    const char* name;
    PackedDateTime before;
    DateTimeField field;
    StepDirection direction;
    uint32_t flags;
    PackedDateTime after;
};

class DateTimeStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(DateTimeStepTest, WrapsWithinTheFieldsRange) {
    const StepCase& c = GetParam();
    EXPECT_EQ(StepDateTime(c.before, c.field, c.direction, c.flags).bytes, c.after.bytes);
}

constexpr auto kUp = StepDirection::Up;
constexpr auto kDown = StepDirection::Down;
using F = DateTimeField;

INSTANTIATE_TEST_SUITE_P(
    Steps, DateTimeStepTest,
    ::testing::Values(
        // The day wraps within its month; the month never changes with it.
        StepCase{"LeapDayUp", Date(2000, 2, 29), F::Day, kUp, kDateBits, Date(2000, 2, 1)},
        StepCase{"Feb1DownLeap", Date(2000, 2, 1), F::Day, kDown, kDateBits, Date(2000, 2, 29)},
        StepCase{"Feb1Down1900", Date(1900, 2, 1), F::Day, kDown, kDateBits, Date(1900, 2, 28)},
        StepCase{"Mar1Down", Date(2001, 3, 1), F::Day, kDown, kDateBits, Date(2001, 3, 31)},
        StepCase{"Apr30Up", Date(2001, 4, 30), F::Day, kUp, kDateBits, Date(2001, 4, 1)},
        StepCase{"Feb28UpCommon", Date(2001, 2, 28), F::Day, kUp, kDateBits, Date(2001, 2, 1)},
        StepCase{"Dec31Up", Date(2001, 12, 31), F::Day, kUp, kDateBits, Date(2001, 12, 1)},
        StepCase{"SecondUp59", Time(1, 2, 59), F::Second, kUp, kTimeBits, Time(1, 2, 0)},
        StepCase{"SecondDown0", Time(1, 2, 0), F::Second, kDown, kTimeBits, Time(1, 2, 59)},
        StepCase{"MinuteUp59", Time(1, 59, 7), F::Minute, kUp, kTimeBits, Time(1, 0, 7)},
        StepCase{"MinuteDown0", Time(1, 0, 7), F::Minute, kDown, kTimeBits, Time(1, 59, 7)},
        StepCase{"HourUp23", Time(23, 5, 6), F::Hour, kUp, kTimeBits, Time(0, 5, 6)},
        StepCase{"HourDown0", Time(0, 5, 6), F::Hour, kDown, kTimeBits, Time(23, 5, 6)},
        StepCase{"MonthUp12", Date(2001, 12, 5), F::Month, kUp, kDateBits, Date(2001, 1, 5)},
        StepCase{"MonthDown1", Date(2001, 1, 5), F::Month, kDown, kDateBits, Date(2001, 12, 5)},
        StepCase{"YearUpTop", Date(65535, 1, 5), F::Year, kUp, kDateBits, Date(0, 1, 5)},
        StepCase{"YearDownZero", Date(0, 1, 5), F::Year, kDown, kDateBits, Date(65535, 1, 5)},
        // A weekday control steps the weekday, not the day of month.
        StepCase{"SaturdayUp", PackedDateTime::Make(2006, 4, 3, 1, 2, 3, 6), F::Day, kUp,
                 kWeekdayBits, PackedDateTime::Make(2006, 4, 3, 1, 2, 3, 0)},
        StepCase{"SundayDown", PackedDateTime::Make(2006, 4, 3, 1, 2, 3, 0), F::Day, kDown,
                 kWeekdayBits, PackedDateTime::Make(2006, 4, 3, 1, 2, 3, 6)},
        // Values a device should not send come back into range with one press.
        StepCase{"Month13Up", Date(2001, 13, 5), F::Month, kUp, kDateBits, Date(2001, 1, 5)},
        StepCase{"Month0Down", Date(2001, 0, 5), F::Month, kDown, kDateBits, Date(2001, 12, 5)},
        StepCase{"Month200Up", Date(2001, 200, 5), F::Month, kUp, kDateBits, Date(2001, 1, 5)},
        StepCase{"Month200Down", Date(2001, 200, 5), F::Month, kDown, kDateBits, Date(2001, 12, 5)},
        StepCase{"Day0Up", Date(2001, 4, 0), F::Day, kUp, kDateBits, Date(2001, 4, 1)},
        StepCase{"Day0Down", Date(2001, 4, 0), F::Day, kDown, kDateBits, Date(2001, 4, 30)},
        StepCase{"Day40Down", Date(2001, 4, 40), F::Day, kDown, kDateBits, Date(2001, 4, 30)},
        StepCase{"Day31OfMonth13", Date(2001, 13, 31), F::Day, kUp, kDateBits, Date(2001, 13, 1)},
        StepCase{"Hour200Up", Time(200, 5, 6), F::Hour, kUp, kTimeBits, Time(0, 5, 6)},
        StepCase{"Second255Down", Time(1, 2, 255), F::Second, kDown, kTimeBits, Time(1, 2, 59)}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(DateTimeOpening, InvalidWeekdayOpensAsMondayOnlyForWeekdayControls) {
    const PackedDateTime nine = PackedDateTime::Make(2006, 4, 3, 1, 2, 3, 9);
    EXPECT_EQ(DateTimeOnOpening(nine, kDateTimeWeekdayBit).Weekday(), 1);
    EXPECT_EQ(DateTimeOnOpening(nine, kDateBits).Weekday(), 9);
    const PackedDateTime saturday = PackedDateTime::Make(2006, 4, 3, 1, 2, 3, 6);
    EXPECT_EQ(DateTimeOnOpening(saturday, kDateTimeWeekdayBit), saturday);
}

TEST(DateTimeEnabling, EachFieldFollowsItsBit) {
    EXPECT_FALSE(IsDateTimeFieldEnabled(DateTimeField::Hour, 0));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Hour, kDateTimeHoursBit));
    EXPECT_FALSE(IsDateTimeFieldEnabled(DateTimeField::Minute, kDateTimeHoursBit));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Minute, kDateTimeMinutesBit));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Second, kDateTimeSecondsBit));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Day, kDateTimeDayBit));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Day, kDateTimeWeekdayBit));
    EXPECT_FALSE(IsDateTimeFieldEnabled(DateTimeField::Day, kDateTimeMonthBit));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Month, kDateTimeMonthBit));
    EXPECT_TRUE(IsDateTimeFieldEnabled(DateTimeField::Year, kDateTimeYearBit));
    EXPECT_FALSE(IsDateTimeFieldEnabled(DateTimeField::Year, kDateTimeDayBit));
}

TEST(DateTimeNow, CopiesOnlyTheFlaggedFields) {
    const PackedDateTime value = PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 1);
    const PackedDateTime now = PackedDateTime::Make(2024, 12, 25, 18, 45, 59, 3);
    EXPECT_EQ(TakeFlaggedFields(value, now, kDateTimeHoursBit | kDateTimeMinutesBit),
              PackedDateTime::Make(2006, 4, 3, 18, 45, 5, 1));
    EXPECT_EQ(TakeFlaggedFields(value, now, kDateBits),
              PackedDateTime::Make(2024, 12, 25, 9, 7, 5, 1));
    EXPECT_EQ(TakeFlaggedFields(value, now, kDateTimeWeekdayBit | kDateTimeSecondsBit),
              PackedDateTime::Make(2006, 4, 3, 9, 7, 59, 3));
    EXPECT_EQ(TakeFlaggedFields(value, now, 0), value);
}

} // namespace
} // namespace ksv

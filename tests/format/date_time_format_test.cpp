#include "controls/date_time_format.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

const TimeLocale& C() {
    static const TimeLocale names = TimeLocale::FromName("C").value();
    return names;
}

// second 5, minute 7, hour 9, day 3, weekday 2, month 4, year 2006
PackedDateTime Sample() {
    return PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2);
}

TEST(PackedDateTime, KeepsTheWireByteOrder) {
    const uint8_t wire[8] = {5, 7, 9, 3, 2, 4, 0xD6, 0x07};
    PackedDateTime v = PackedDateTime::FromBytes(wire);
    EXPECT_EQ(v, Sample());
    EXPECT_EQ(v.Year(), 2006);
    EXPECT_EQ(v.Weekday(), 2);
}

TEST(FormatDateTime, NumericPicturesRenderDigits) {
    EXPECT_EQ(FormatDateTime(Sample(), u"%dd%/%MM%/%yyyy% %HH%:%mm%", C()), u"03/04/2006 09:07");
    EXPECT_EQ(FormatDateTime(Sample(), u"%d%.%M%.%yy% %H%:%m%:%s% %ss%", C()), u"3.4.06 9:7:5 05");
    PackedDateTime early = PackedDateTime::Make(5, 1, 1, 0, 0, 0, 0);
    EXPECT_EQ(FormatDateTime(early, u"%yyyy% %yy%", C()), u"0005 05");
}

TEST(FormatDateTime, LongerTokensWinAndCaseSeparatesMonthFromMinutes) {
    EXPECT_EQ(FormatDateTime(Sample(), u"%MMMM%|%MMM%|%MM%|%M%", C()), u"April|Apr|04|4");
    EXPECT_EQ(FormatDateTime(Sample(), u"%M%-%m%", C()), u"4-7");
    EXPECT_EQ(FormatDateTime(Sample(), u"%dddd%|%ddd%|%dd%|%d%", C()), u"Tuesday|Tue|03|3");
    EXPECT_EQ(FormatDateTime(Sample(), u"%yyyy%%yy%", C()), u"200606");
}

TEST(FormatDateTime, TwelveAndTwentyFourHourClocksWithDesignator) {
    PackedDateTime v = Sample();
    v.SetHour(0);
    EXPECT_EQ(FormatDateTime(v, u"%hh% %h% %HH% %H% %tt% %t%", C()), u"12 12 00 0 AM A");
    v.SetHour(13);
    EXPECT_EQ(FormatDateTime(v, u"%hh% %h% %HH% %H% %tt% %t%", C()), u"01 1 13 13 PM P");
    v.SetHour(12);
    EXPECT_EQ(FormatDateTime(v, u"%h%%tt%", C()), u"12PM");
}

TEST(FormatDateTime, WeekdayNamesComeFromTheWeekdayByteAlone) {
    PackedDateTime v{}; // all zero: day 0 and month 0 are no date at all
    EXPECT_EQ(FormatDateTime(v, u"%ddd%", C()), u"Sun");
    v.SetWeekday(6);
    EXPECT_EQ(FormatDateTime(v, u"%dddd%", C()), u"Saturday");
    v.SetWeekday(30); // 2000-01-32: no date, so no name
    EXPECT_EQ(FormatDateTime(v, u"[%dddd%%ddd%]", C()), u"[-------]");
}

// The name is that of 2000-01-(byte + 2), which is a real date up to byte 29.
TEST(FormatDateTime, WeekdayBytesPastSaturdayNameTheDayOfTheirDate) {
    const struct {
        uint8_t weekday;
        const char16_t* name;
    } cases[] = {
        {7, u"Sunday"}, {13, u"Saturday"}, {20, u"Saturday"}, {29, u"Monday"}, {255, u"----"}};
    for (const auto& c : cases) {
        PackedDateTime v{};
        v.SetWeekday(c.weekday);
        EXPECT_EQ(FormatDateTime(v, u"%dddd%", C()), c.name) << int(c.weekday);
    }
}

TEST(WeekdayListNames, SundayToSaturdayAbbreviated) {
    const std::array<std::u16string, 7> items = WeekdayListNames(C());
    EXPECT_EQ(items[0], u"Sun");
    EXPECT_EQ(items[1], u"Mon");
    EXPECT_EQ(items[6], u"Sat");
}

// One field out of range makes the whole value no date: every token but the weekday names
// shows a dash per letter, whichever field it names.
TEST(FormatDateTime, AValueThatIsNoDateShowsDashesForEveryToken) {
    const std::u16string all =
        u"%dd%.%MM%.%yyyy% %HH%:%mm%:%ss% %d%/%M%/%yy% %MMM% %hh%%tt% %dddd%";
    PackedDateTime v = Sample(); // a Tuesday
    v.SetMonth(2);
    v.SetDay(31);
    v.SetYear(2026);
    EXPECT_EQ(FormatDateTime(v, all, C()), u"--.--.---- --:--:-- -/-/-- --- ---- Tuesday");
    for (auto spoil :
         {+[](PackedDateTime& p) { p.SetMonth(0); }, +[](PackedDateTime& p) { p.SetHour(24); },
          +[](PackedDateTime& p) { p.SetMinute(60); },
          +[](PackedDateTime& p) { p.SetSecond(255); }}) {
        v = Sample();
        spoil(v);
        EXPECT_EQ(FormatDateTime(v, u"%dd%.%MM%.%yy% %HH%:%mm%", C()), u"--.--.-- --:--");
    }
    v = Sample();
    v.SetMonth(2);
    v.SetDay(29);
    v.SetYear(2000);
    EXPECT_EQ(FormatDateTime(v, u"%dd%", C()), u"29");
    v.SetYear(1900);
    EXPECT_EQ(FormatDateTime(v, u"%dd%", C()), u"--");
}

TEST(FormatDateTime, OtherTextIsCopiedAsItStands) {
    EXPECT_EQ(FormatDateTime(Sample(), u"100%", C()), u"100%");
    EXPECT_EQ(FormatDateTime(Sample(), u"%x% %%MM% %mM%", C()), u"%x% %04 %mM%");
    EXPECT_EQ(FormatDateTime(Sample(), u"", C()), u"");
    EXPECT_EQ(FormatDateTime(Sample(), u"\u00e9t\u00e9 %yyyy%", C()), u"\u00e9t\u00e9 2006");
}

TEST(TimeLocale, UnknownLocaleIsRefusedAndUtf8VariantReadsTheSameDigits) {
    EXPECT_FALSE(TimeLocale::FromName("xx_NOWHERE.UTF-8").has_value());
    std::optional<TimeLocale> utf8 = TimeLocale::FromName("C.UTF-8");
    if (!utf8)
        GTEST_SKIP() << "no C.UTF-8 locale on this machine";
    EXPECT_EQ(FormatDateTime(Sample(), u"%dd%/%MM%/%yyyy% %HH%:%mm%", *utf8), u"03/04/2006 09:07");
    for (int m = 1; m <= 12; ++m)
        EXPECT_FALSE(utf8->MonthName(m).empty());
}

TEST(TimeLocale, NonAsciiNamesConvertToUtf16) {
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "es_ES.UTF-8"}) {
        std::optional<TimeLocale> names = TimeLocale::FromName(name);
        if (!names)
            continue;
        // Each of these languages has a month whose name is not plain ASCII.
        bool sawNonAscii = false;
        for (int m = 1; m <= 12; ++m)
            for (char16_t ch : names->MonthName(m))
                sawNonAscii = sawNonAscii || ch > 0x7F;
        EXPECT_TRUE(sawNonAscii) << name;
        EXPECT_EQ(FormatDateTime(Sample(), u"%dd%/%MM%", *names), u"03/04");
        return;
    }
    GTEST_SKIP() << "no non-English UTF-8 locale on this machine";
}

} // namespace
} // namespace ksv

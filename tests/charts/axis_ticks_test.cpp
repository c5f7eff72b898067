#include "charts/axis_ticks.h"
#include "matrix_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ksv {
namespace {

CalendarTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return ToCalendarTime(PackedDateTime::Make(
        static_cast<uint16_t>(year), static_cast<uint8_t>(month), static_cast<uint8_t>(day),
        static_cast<uint8_t>(hour), static_cast<uint8_t>(minute), static_cast<uint8_t>(second), 0));
}

TEST(NumericTicks, EndsAreLongAndShortTicksNeedAFineAxis) {
    std::vector<AxisTick> ticks = NumericTicks(NiceRange(0, 37)); // unit 1, not fine
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front().length, 8);
    EXPECT_DOUBLE_EQ(ticks.front().fraction, 0);
    EXPECT_EQ(ticks.back().length, 8);
    EXPECT_DOUBLE_EQ(ticks.back().fraction, 1);
    // 0 and 37 at the ends; 5, 10, ... 35 in between; the short ones are left out.
    EXPECT_EQ(ticks.size(), 2u + 7u);
    EXPECT_EQ(ticks[1].length, 4);
    EXPECT_EQ(ticks[2].length, 6);

    ticks = NumericTicks(NiceRange(0, 73)); // unit 10, fine: every multiple
    EXPECT_EQ(ticks.size(), 9u);
    EXPECT_DOUBLE_EQ(ticks[4].fraction, 0.5);
    EXPECT_EQ(ticks[4].length, 2);

    ticks = NumericTicks(NiceRange(-7.5, -2));
    EXPECT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks[3].length, 4); // -5
}

TEST(NumericTicks, DegenerateOrHugeAxesGiveNoTicks) {
    EXPECT_TRUE(NumericTicks(NiceAxis{5, 5, 1, true}).empty());
    EXPECT_TRUE(NumericTicks(NiceAxis{5, 1, 1, true}).empty());
    EXPECT_TRUE(NumericTicks(NiceAxis{0, 10, 0, true}).empty());
    EXPECT_TRUE(NumericTicks(NiceAxis{1e25, 1e25 + 1e9, 1e8, true}).empty());
}

TEST(DateTicks, AnchoredAtTheLastDate) {
    const CalendarTime first = At(2006, 1, 1, 0, 0, 0);
    const CalendarTime last = At(2006, 1, 1, 0, 0, 25);
    std::vector<AxisTick> ticks = DateTicks(first, last, kUnitSecond);
    ASSERT_EQ(ticks.size(), 26u);
    EXPECT_EQ(ticks.front().length, 8);
    EXPECT_DOUBLE_EQ(ticks.front().fraction, 1);
    EXPECT_EQ(ticks.back().length, 8);
    EXPECT_DOUBLE_EQ(ticks.back().fraction, 0);
    EXPECT_EQ(ticks[5].length, 4); // second 20

    // Ten-second steps from :25 fall on :15 and :05, not on round tens.
    ticks = DateTicks(first, last, kUnitTenSeconds);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_DOUBLE_EQ(ticks[1].fraction, 15.0 / 25.0);
    EXPECT_EQ(ticks[1].length, 2);
    EXPECT_EQ(ticks[2].length, 8);
}

TEST(DateTicks, LongSpansStayBounded) {
    // Five years a day at a time: every day walked, one tick per day kept.
    const CalendarTime first = At(2001, 1, 1);
    const CalendarTime last = At(2006, 1, 1);
    std::vector<AxisTick> ticks = DateTicks(first, last, kUnitDay);
    EXPECT_EQ(ticks.size(), 1827u);

    // Year 0 to 65535: the walk is capped instead of running for ever.
    ticks =
        DateTicks(At(0, 1, 1), At(65535, 12, 31), ChooseDateUnit(At(0, 1, 1), At(65535, 12, 31)));
    EXPECT_LE(ticks.size(), static_cast<size_t>(kMaxDateSteps));
    for (const AxisTick& t : ticks)
        EXPECT_TRUE(t.fraction >= 0 && t.fraction <= 1);

    // A step that goes nowhere ends after one tick; stepping back past year 0 stops too.
    EXPECT_EQ(DateTicks(At(2006, 1, 1), At(2006, 1, 2), kUnitUnused).size(), 1u);
    EXPECT_EQ(DateTicks(At(0, 1, 1), At(0, 1, 1), kUnitDay).size(), 1u);
}

// Spans the unit rules step in hours, seconds or months for years on end used to stop after
// the step cap and leave the axis's left part, and its end tick, undrawn.
TEST(DateTicks, LongSpansAreCoveredToTheFirstDate) {
    const struct {
        CalendarTime first, last;
        double yearTick; // fraction of a 1 January tick expected, or -1
    } cases[] = {
        {At(2020, 1, 1), At(2022, 1, 1, 10), (366 + 10 / 24.0) / (731 + 10 / 24.0)},
        {At(2020, 1, 1), At(2025, 1, 1), -1},         // five years in one-second steps
        {At(0, 1, 1), At(2024, 6, 1), 2000 / 2024.0}, // 24 000 monthly steps
        {At(0, 1, 1), At(65535, 12, 31), -1},
    };
    for (const auto& c : cases) {
        const std::vector<AxisTick> ticks =
            DateTicks(c.first, c.last, ChooseDateUnit(c.first, c.last));
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), static_cast<size_t>(kMaxDateSteps));
        EXPECT_EQ(ticks.front().length, 8);
        EXPECT_DOUBLE_EQ(ticks.front().fraction, 1);
        EXPECT_EQ(ticks.back().length, 8);
        EXPECT_LT(ticks.back().fraction, 1 / 365.0) << c.last.year;
        if (c.yearTick < 0)
            continue;
        EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(), [&](const AxisTick& t) {
            return t.length == 6 && std::fabs(t.fraction - c.yearTick) < 1e-3;
        })) << c.last.year;
    }
}

TEST(RowLabels, EveryStepThRowAtSlotCentres) {
    EXPECT_EQ(LabelRowStep(0), 1);
    EXPECT_EQ(LabelRowStep(6), 1);
    EXPECT_EQ(LabelRowStep(7), 2);
    EXPECT_EQ(LabelRowStep(12), 2);
    EXPECT_EQ(LabelRowStep(13), 3);
    EXPECT_EQ(LabelRowStep(20), 4);

    MatrixData m = MakeMatrix(20, 20, {});
    std::vector<std::u16string> texts;
    for (int i = 0; i < 20; ++i)
        texts.push_back(u"r" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
    SetXLabels(m, {});
    for (const auto& t : texts)
        for (char16_t ch : t + u'\0')
            AppendLe(m.m_pXData, ch, 2);
    std::vector<RowLabel> labels = RowLabels(m);
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels[1].row, 4);
    EXPECT_EQ(labels[4].row, 16);
    EXPECT_EQ(labels[4].text, u"rq");
    EXPECT_DOUBLE_EQ(labels[0].fraction, 0.5 / 20);

    m.m_nPoints = -5; // ring full: row 0 is slot 5, and so is its label
    labels = RowLabels(m);
    EXPECT_EQ(labels[0].text, u"rf");

    m.m_flags = 0; // None: positions without texts
    labels = RowLabels(m);
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_TRUE(labels[2].text.empty());
    SetXNumbers(m, {1});
    EXPECT_TRUE(RowLabels(m).empty());
}

} // namespace
} // namespace ksv

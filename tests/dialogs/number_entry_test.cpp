#include "dialogs/number_entry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace ksv {
namespace {

constexpr uint32_t kMin = kNumberMinimumAppliesBit;
constexpr uint32_t kMax = kNumberMaximumAppliesBit;
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

// Keys: a digit, 'C' for "CE", 'U' "Up", 'D' "Down", 'S' "+/-".
void Press(NumberEntry& entry, const std::string& keys) {
    for (char key : keys) {
        switch (key) {
        case 'C':
            entry.ClearEntry();
            break;
        case 'U':
            entry.Up();
            break;
        case 'D':
            entry.Down();
            break;
        case 'S':
            entry.ToggleSign();
            break;
        default:
            entry.Digit(key - '0');
        }
    }
}

struct KeysCase {
    const char* name;
    int32_t value, minimum, maximum;
    uint32_t flags;
    const char* keys;
    int32_t expected;
    bool minusPending;
};

class NumberEntryKeys : public ::testing::TestWithParam<KeysCase> {};

TEST_P(NumberEntryKeys, LeaveTheExpectedValue) {
    const KeysCase& c = GetParam();
    NumberEntry entry(c.value, c.minimum, c.maximum, c.flags);
    Press(entry, c.keys);
    EXPECT_EQ(entry.Value(), c.expected);
    EXPECT_EQ(entry.MinusPending(), c.minusPending);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, NumberEntryKeys,
    ::testing::Values(
        KeysCase{"FirstDigitReplaces", 57, 0, 0, 0, "1", 1, false},
        KeysCase{"DigitsAppend", 57, 0, 0, 0, "123", 123, false},
        KeysCase{"SignOnZeroIsPending", 0, 0, 0, 0, "S", 0, true},
        KeysCase{"PendingMinusTakesTheDigit", 0, 0, 0, 0, "S5", -5, false},
        KeysCase{"SignTwiceOnZero", 0, 0, 0, 0, "SS5", 5, false},
        KeysCase{"PendingMinusAfterTypedZero", 0, 0, 0, 0, "0S5", -5, false},
        KeysCase{"NegativeGrowsDownward", 0, 0, 0, 0, "S52", -52, false},
        KeysCase{"SignFlipsTypedNumber", 0, 0, 0, 0, "42S", -42, false},
        KeysCase{"SignFlipsShownValueWithoutReplacing", 57, 0, 0, 0, "S", -57, false},
        KeysCase{"MaximumDropsTheDigit", 0, 0, 100, kMax, "150", 15, false},
        KeysCase{"MaximumAllowsEqual", 0, 0, 100, kMax, "100", 100, false},
        KeysCase{"TenthDigitIgnored", 0, 0, 0, 0, "1234567891", 123456789, false},
        KeysCase{"NegativeMinimumDropsTheDigit", 0, -50, 0, kMin, "S60", -6, false},
        KeysCase{"PositiveMinimumNotEnforcedWhileTyping", 0, 10, 0, kMin, "5", 5, false},
        KeysCase{"NegativeMaximumNotEnforcedWhileTyping", 0, 0, -10, kMax, "5", 5, false},
        KeysCase{"SignRefusedUnderZeroMinimum", 7, 0, 0, kMin, "S", 7, false},
        KeysCase{"ClearEntry", 57, 0, 0, 0, "12C", 0, false},
        KeysCase{"ClearEntryKeepsTyping", 57, 0, 0, 0, "12C3", 3, false},
        KeysCase{"UpThenDigitStartsOver", 0, 0, 0, 0, "12U3", 3, false},
        KeysCase{"UpAndDown", 10, 0, 0, 0, "UUD", 11, false},
        KeysCase{"UpStopsAtNineNines", 999999999, 0, 0, 0, "U", 999999999, false},
        KeysCase{"DownStopsAtNineNines", -999999999, 0, 0, 0, "D", -999999999, false},
        KeysCase{"UpClearsPendingMinus", 0, 0, 0, 0, "SU", 1, false},
        KeysCase{"UpBlockedAtMaximum", 100, 0, 100, kMax, "U", 100, false},
        KeysCase{"DownBlockedAtMinimum", -5, -5, 0, kMin, "D", -5, false},
        // Limits and values a device should not send.
        KeysCase{"MinimumAboveMaximum", 0, 50, 10, kMin | kMax, "12", 1, false},
        KeysCase{"SignOfMostNegative", kInt32Min, 0, 0, 0, "S", kInt32Max, false},
        KeysCase{"UpFromLargest", kInt32Max, 0, 0, 0, "U", kInt32Max, false},
        KeysCase{"DownFromMostNegative", kInt32Min, 0, 0, 0, "D", kInt32Min, false},
        // The refused first digit leaves the old value, which the next digit must not overflow.
        KeysCase{"RefusedDigitOverLargeValue", kInt32Max, 0, 5, kMax, "79", kInt32Max, false}),
    [](const ::testing::TestParamInfo<KeysCase>& info) { return info.param.name; });

TEST(NumberEntryEnabling, FollowsTheLimitsThatApply) {
    EXPECT_FALSE(NumberEntry(0, 0, 0, kMin).CanToggleSign());
    EXPECT_FALSE(NumberEntry(0, 5, 0, kMin).CanToggleSign());
    EXPECT_TRUE(NumberEntry(0, -1, 0, kMin).CanToggleSign());
    EXPECT_TRUE(NumberEntry(0, 0, 0, 0).CanToggleSign());

    EXPECT_FALSE(NumberEntry(100, 0, 100, kMax).CanGoUp());
    EXPECT_TRUE(NumberEntry(99, 0, 100, kMax).CanGoUp());
    EXPECT_TRUE(NumberEntry(100, 0, 100, 0).CanGoUp());
    EXPECT_TRUE(NumberEntry(-3, 0, -3, kMax).CanGoUp()); // a negative maximum is not enforced

    EXPECT_FALSE(NumberEntry(-50, -50, 0, kMin).CanGoDown());
    EXPECT_FALSE(NumberEntry(0, 0, 0, kMin).CanGoDown());
    EXPECT_TRUE(NumberEntry(-49, -50, 0, kMin).CanGoDown());
    EXPECT_TRUE(NumberEntry(5, 5, 0, kMin).CanGoDown()); // a positive minimum is not enforced
}

} // namespace
} // namespace ksv

#include "dialogs/number_entry.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

namespace ksv {
namespace {

constexpr uint32_t kMin = kNumberMinimumAppliesBit;
constexpr uint32_t kMax = kNumberMaximumAppliesBit;
constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

struct KeysCase {
    int32_t value, minimum, maximum;
    uint32_t flags;
    const char* keys; // digits, 'C' "CE", 'U' "Up", 'D' "Down", 'S' "+/-"
    int32_t expected;
};

NumberEntry Pressed(const KeysCase& c) {
    const std::map<char, void (NumberEntry::*)()> commands = {{'C', &NumberEntry::ClearEntry},
                                                              {'U', &NumberEntry::Up},
                                                              {'D', &NumberEntry::Down},
                                                              {'S', &NumberEntry::ToggleSign}};
    NumberEntry entry(c.value, c.minimum, c.maximum, c.flags);
    for (const char* key = c.keys; *key != '\0'; ++key) {
        const auto command = commands.find(*key);
        command != commands.end() ? (entry.*command->second)() : entry.Digit(*key - '0');
    }
    return entry;
}

TEST(NumberEntry, KeysLeaveTheExpectedValue) {
    const KeysCase cases[] = {
        {57, 0, 0, 0, "1", 1}, // the first digit replaces the shown value
        {57, 0, 0, 0, "123", 123},
        {0, 0, 0, 0, "S5", -5},
        {0, 0, 0, 0, "0S5", -5}, // the pending minus survives typed zeros
        {0, 0, 0, 0, "S52", -52},
        {57, 0, 0, 0, "S", -57},
        {0, 0, 100, kMax, "150", 15},
        {0, 0, 0, 0, "1234567891", 123456789},
        {0, -50, 0, kMin, "S60", -6},
        {0, 10, 0, kMin, "5", 5},  // a positive minimum is not enforced while typing
        {0, 0, -10, kMax, "5", 5}, // nor a negative maximum
        {7, 0, 0, kMin, "S", 7},   // no sign change under a minimum of 0
        {57, 0, 0, 0, "12C3", 3},
        {0, 0, 0, 0, "12U3", 3}, // after Up the next digit starts a new number
        {999999999, 0, 0, 0, "U", 999999999},
        {-999999999, 0, 0, 0, "D", -999999999},
        {100, 0, 100, kMax, "U", 100},
        {0, 50, 10, kMin | kMax, "12", 1}, // a minimum above the maximum
        {kLowest, 0, 0, 0, "S", kHighest},
        {kHighest, 0, 5, kMax, "79", kHighest}, // refused digits never overflow the old value
    };
    for (const KeysCase& c : cases) {
        EXPECT_EQ(Pressed(c).Value(), c.expected) << c.value << " then " << c.keys;
    }
    // The minus shows until the first digit, or until Up or Down.
    EXPECT_TRUE(Pressed({0, 0, 0, 0, "S", 0}).MinusPending());
    EXPECT_FALSE(Pressed({0, 0, 0, 0, "S0", 0}).MinusPending());
    EXPECT_FALSE(Pressed({0, 0, 0, 0, "SU", 1}).MinusPending());
}

TEST(NumberEntry, EnablingFollowsTheLimitsThatApply) {
    EXPECT_FALSE(NumberEntry(0, 0, 0, kMin).CanToggleSign());
    EXPECT_TRUE(NumberEntry(0, -1, 0, kMin).CanToggleSign());
    EXPECT_FALSE(NumberEntry(100, 0, 100, kMax).CanGoUp());
    EXPECT_TRUE(NumberEntry(100, 0, 100, 0).CanGoUp());
    EXPECT_TRUE(NumberEntry(-3, 0, -3, kMax).CanGoUp());
    EXPECT_FALSE(NumberEntry(-50, -50, 0, kMin).CanGoDown());
    EXPECT_TRUE(NumberEntry(5, 5, 0, kMin).CanGoDown());
}

} // namespace
} // namespace ksv

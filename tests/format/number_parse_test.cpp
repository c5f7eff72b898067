#include "controls/number_parse.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(ParseScaled, ScalesByTheNegatedExponentAndTruncatesTowardZero) {
    EXPECT_EQ(ParseScaled(u"12.34", -2), 1234);
    EXPECT_EQ(ParseScaled(u"12.34", 0), 12);
    EXPECT_EQ(ParseScaled(u"-0.9", 0), 0);
    EXPECT_EQ(ParseScaled(u"-12.99", 0), -12);
    EXPECT_EQ(ParseScaled(u"5", 2), 0);
    EXPECT_EQ(ParseScaled(u"1500", 2), 15);
}

TEST(ParseScaled, ForgivesTheRoundingErrorOfScaling) {
    EXPECT_EQ(ParseScaled(u"0.29", -2), 29);
    EXPECT_EQ(ParseScaled(u"-0.29", -2), -29);
    EXPECT_EQ(ParseScaled(u"4.35", -2), 435);
    EXPECT_EQ(ParseScaled(u"0.2899", -2), 28);
}

TEST(ParseScaled, ReadsALeadingNumberAfterWhiteSpace) {
    EXPECT_EQ(ParseScaled(u"  \t42abc", 0), 42);
    EXPECT_EQ(ParseScaled(u"+7", 0), 7);
    EXPECT_EQ(ParseScaled(u"1e3", 0), 1000);
    EXPECT_EQ(ParseScaled(u"3\u00b0C", 0), 3);
}

TEST(ParseScaled, TextWithoutANumberGivesNothing) {
    EXPECT_FALSE(ParseScaled(u"", 0).has_value());
    EXPECT_FALSE(ParseScaled(u"abc", 0).has_value());
    EXPECT_FALSE(ParseScaled(u"  .", 0).has_value());
    EXPECT_FALSE(ParseScaled(u"nan", 0).has_value());
    EXPECT_FALSE(ParseScaled(u"\u00b712", 0).has_value());
}

TEST(ParseScaled, ClampsToTheThirtyTwoBitRange) {
    EXPECT_EQ(ParseScaled(u"1e30", 0), INT32_MAX);
    EXPECT_EQ(ParseScaled(u"-1e30", 0), INT32_MIN);
    EXPECT_EQ(ParseScaled(u"inf", 0), INT32_MAX);
    EXPECT_EQ(ParseScaled(u"1", -127), INT32_MAX);
    EXPECT_EQ(ParseScaled(u"2147483647", 0), INT32_MAX);
    EXPECT_EQ(ParseScaled(u"-2147483648", 0), INT32_MIN);
    EXPECT_EQ(ParseScaled(u"2147483646", 0), 2147483646);
}

} // namespace
} // namespace ksv

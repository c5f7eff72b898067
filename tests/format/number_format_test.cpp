#include "controls/number_format.h"

#include <gtest/gtest.h>

#include <clocale>

namespace ksv {
namespace {

TEST(FormatNumber, PlainNotationTrimsTrailingZeros) {
    EXPECT_EQ(FormatNumber(12.5, kNotationPlain, u"%%", 0, 0, false), u"12.5");
    EXPECT_EQ(FormatNumber(3.0, kNotationPlain, u"%%", 0, 0, false), u"3");
    EXPECT_EQ(FormatNumber(0.0, kNotationPlain, u"%%", 0, 0, false), u"0");
    EXPECT_EQ(FormatNumber(100.0, kNotationPlain, u"%%", 0, 0, false), u"100");
    EXPECT_EQ(FormatNumber(-0.25, kNotationPlain, u"%%", 0, 0, false), u"-0.25");
    // Six decimals, then trimmed: the plain notation ignores the decimals argument.
    EXPECT_EQ(FormatNumber(1.0 / 3.0, kNotationPlain, u"%%", 2, 0, false), u"0.333333");
}

TEST(FormatNumber, NotationsFollowPrintfConversions) {
    EXPECT_EQ(FormatNumber(3.14159, kNotationFixed, u"%%", 2, 0, false), u"3.14");
    EXPECT_EQ(FormatNumber(2.5, kNotationFixed, u"%%", 0, 0, false), u"2");
    EXPECT_EQ(FormatNumber(1234.5, kNotationExponent, u"%%", 2, 0, false), u"1.23e+03");
    EXPECT_EQ(FormatNumber(1234.5, kNotationGeneral, u"%%", 3, 0, false), u"1.23e+03");
    EXPECT_EQ(FormatNumber(12.0, kNotationGeneral, u"%%", 3, 0, false), u"12");
    EXPECT_EQ(FormatNumber(5.0, 0, u"<%%>", 2, 0, false), u"<>");
    EXPECT_EQ(FormatNumber(5.0, 5, u"<%%>", 2, 0, false), u"<>");
}

TEST(FormatNumber, TemplateHoldsTheNumberAtItsFirstMarker) {
    EXPECT_EQ(FormatNumber(21.5, kNotationFixed, u"Temp %% C", 1, 0, false), u"Temp 21.5 C");
    EXPECT_EQ(FormatNumber(1.0, kNotationPlain, u"%% of %%", 0, 0, false), u"1 of %%");
    EXPECT_EQ(FormatNumber(1.0, kNotationPlain, u"no marker", 0, 0, false), u"no marker");
    EXPECT_EQ(FormatNumber(1.0, kNotationPlain, u"100% %s %d", 0, 0, false), u"100% %s %d");
    EXPECT_EQ(FormatNumber(7.0, kNotationPlain, u"%%%", 0, 0, false), u"7%");
    EXPECT_EQ(FormatNumber(7.0, kNotationPlain, u"", 0, 0, false), u"");
}

TEST(FormatNumber, WidthZeroFillsTheWholeFieldAndNegativeFlagPrefixes) {
    EXPECT_EQ(FormatNumber(3.5, kNotationFixed, u"%%", 1, 5, false), u"003.5");
    EXPECT_EQ(FormatNumber(42.0, kNotationPlain, u"%%", 0, 4, false), u"42");
    EXPECT_EQ(FormatNumber(5.0, kNotationPlain, u"%%", 0, 0, true), u"-5");
    EXPECT_EQ(FormatNumber(3.5, kNotationFixed, u"[%%]", 1, -5, false), u"[3.5  ]");
}

TEST(FormatNumber, HostileDecimalsAndWidthStayBounded) {
    std::u16string wide = FormatNumber(1.0, kNotationFixed, u"%%", 127, 0, false);
    EXPECT_EQ(wide.size(), 2u + 99u);
    EXPECT_EQ(FormatNumber(1.5, kNotationFixed, u"%%", -3, 0, false), u"1.500000");
    EXPECT_LE(FormatNumber(1.0, kNotationFixed, u"%%", 1, INT32_MAX, false).size(), 256u);
    EXPECT_LE(FormatNumber(1.0, kNotationFixed, u"%%", 1, INT32_MIN, false).size(), 256u);
    EXPECT_GT(FormatNumber(1e308, kNotationFixed, u"%%", 99, 0, false).size(), 300u);
}

TEST(FormatNumber, DecimalPointIgnoresTheProcessLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FormatNumber(2.5, kNotationFixed, u"%%", 1, 0, false), u"2.5");
    std::setlocale(LC_NUMERIC, "C");
    if (german == nullptr)
        GTEST_SKIP() << "no de_DE.UTF-8 locale; the C result above still holds";
}

TEST(FormatScaled, ScalesInDoublePrecisionBeforeFormatting) {
    EXPECT_EQ(FormatScaled(1234, kNotationFixed, u"%%", 1, -2, 0, false), u"12.3");
    EXPECT_EQ(FormatScaled(1234, kNotationPlain, u"%%", 0, 3, 0, false), u"1234000");
    EXPECT_EQ(FormatScaled(215, kNotationFixed, u"Temp %% C", 1, -1, 0, false), u"Temp 21.5 C");
    EXPECT_EQ(FormatScaled(215, kNotationPlain, u"Temp %% C", 1, -1, 0, false), u"Temp 21.5 C");
    EXPECT_EQ(FormatScaled(5, kNotationPlain, u"%%", 0, 0, 0, true), u"-5");
    EXPECT_EQ(FormatScaled(INT32_MIN, kNotationPlain, u"%%", 0, 0, 0, false), u"-2147483648");
}

TEST(NotationFromFlags, ReadsBits20And21) {
    EXPECT_EQ(NotationFromFlags(0x00000000), kNotationPlain);
    EXPECT_EQ(NotationFromFlags(0x00100000), kNotationFixed);
    EXPECT_EQ(NotationFromFlags(0x00200000), kNotationExponent);
    EXPECT_EQ(NotationFromFlags(0xFFFFFFFF), kNotationGeneral);
    EXPECT_EQ(NotationFromFlags(0xFFCFFFFF), kNotationPlain);
}

} // namespace
} // namespace ksv

#include "platform/ansi_codepage.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(AnsiCodePage, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<uint8_t>(b);
        EXPECT_EQ(WideCharToAnsi(AnsiCharToWide(byte)), byte) << "byte " << b;
    }
}

TEST(AnsiCodePage, HighRangeUsesTheCodePageCharacters) {
    const uint8_t bytes[] = {0x80, 0x8A, 0x99, 0x9F, 0xE9, 0x81, 0x9D};
    EXPECT_EQ(AnsiToWide(bytes, sizeof bytes), u"\u20AC\u0160\u2122\u0178\u00E9\u0081\u009D");
}

TEST(AnsiCodePage, UnconvertibleCharactersBecomeQuestionMarks) {
    EXPECT_EQ(WideToAnsi(u"a\u0416b\u4E2D"), "a?b?");
    // A surrogate pair is one character, one '?'; a lone surrogate is one '?' too.
    EXPECT_EQ(WideToAnsi(u"x\U0001F600y"), "x?y");
    EXPECT_EQ(WideToAnsi(std::u16string(1, char16_t(0xD800)) + u"z"), "?z");
    EXPECT_EQ(WideToAnsi(u"\u20AC\u00FF"), "\x80\xFF");
}

TEST(AnsiCodePage, EmbeddedNulsAreKeptOrStopConversion) {
    const uint8_t bytes[] = {'a', 0, 'b'};
    EXPECT_EQ(AnsiToWide(bytes, 3), std::u16string(u"a\0b", 3));
    EXPECT_EQ(AnsiToWideZ(bytes, 3), u"a");
    EXPECT_EQ(AnsiToWideZ(bytes + 2, 1), u"b"); // no NUL within the bound
}

} // namespace
} // namespace ksv

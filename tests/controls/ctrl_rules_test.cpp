#include "controls/ctrl_rules.h"
#include "controls/message_box_style.h"
#include "link/control_flags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>

namespace {

using namespace ksv;

TEST(CtrlRules, NumbersStepWithoutWrappingAndClampOnlyByTheirFlags) {
    EXPECT_EQ(StepNumber(INT32_MAX, 1), INT32_MAX);
    EXPECT_EQ(StepNumber(INT32_MIN, -1), INT32_MIN);
    EXPECT_EQ(ClampNumber(-1, 0, 10, kFlagMinApplies), 0);
    EXPECT_EQ(ClampNumber(-1, 0, 10, kFlagMaxApplies), -1);
    EXPECT_EQ(ClampNumber(50, 0, 10, kFlagMinApplies | kFlagMaxApplies), 10);
    // Minimum above maximum: the maximum, applied last, wins.
    EXPECT_EQ(ClampNumber(5, 100, 10, kFlagMinApplies | kFlagMaxApplies), 10);
}

TEST(CtrlRules, PickersChangeOnlyThePartsTheFlagsHave) {
    PackedDateTime v = PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2);
    TakeTimePicker(v, 10, 20, 59, kFlagHours | kFlagMinutes);
    TakeDatePicker(v, 2011, 12, 25, 0);
    EXPECT_EQ(v, PackedDateTime::Make(2006, 4, 25, 10, 20, 5, 2));
    EXPECT_EQ(WeekdaySelection(PackedDateTime::Make(2006, 4, 3, 0, 0, 0, 9)), -1);
}

TEST(CtrlRules, ListItemsStopAtTheTextsSent) {
    const std::u16string items(u"a\0b\0c", 5);
    EXPECT_EQ(SplitListItems(items, 9), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(SplitListItems(items, 2).size(), 2u);
    EXPECT_TRUE(SplitListItems(u"", 65536).empty());
}

TEST(CtrlRules, BlobTextEndsAtItsLengthOrItsTerminator) {
    const std::vector<uint8_t> data = {'h', 0, 'i', 0, 0, 0, 'x', 0};
    EXPECT_EQ(BlobText(data, 8), u"hi");
    EXPECT_EQ(BlobText(data, 3), u"h");
    EXPECT_EQ(BlobText(data, 1000), u"hi");
    EXPECT_EQ(BlobText({}, 5), u"");
}

TEST(CtrlRules, StoredAppearancesAKindCannotShowFallBackToTheFirst) {
    const AppearanceContext number{ControlKind::Number, 0, 0, false};
    EXPECT_EQ(EffectiveAppearance(number, 3), 0); // a bar needs a range
    const AppearanceContext ranged{ControlKind::Number, 0, 0, true};
    EXPECT_EQ(EffectiveAppearance(ranged, 3), 3);
    const AppearanceContext grouped{ControlKind::Latch, 0, 4, false};
    EXPECT_EQ(EffectiveAppearance(grouped, 1), 0);
    for (int stored : {-5, 99}) {
        EXPECT_EQ(EffectiveAppearance({ControlKind::Matrix, 0, 0, false}, stored), 0);
        EXPECT_EQ(EffectiveAppearance({ControlKind::List, 0, 0, false}, stored), 0);
    }
}

// The dialog offers a run of appearances from 0, each shown and named apart; beyond it a kind
// shows only what a stored layout can choose: the bar, the slider, the inline charts and table.
TEST(AppearanceTable, OfferedAppearancesAreShownAndOnlyStoredOnesLieBeyond) {
    for (uint32_t k = 0; k <= 14; ++k) {
        const auto kind = static_cast<ControlKind>(k);
        for (const AppearanceContext c :
             {AppearanceContext{kind, 0, 0, false}, AppearanceContext{kind, kFlagEditable, 0, true},
              AppearanceContext{kind, 0, 4, true}}) {
            const int count = OfferedAppearanceCount(c);
            std::set<std::string> names;
            for (int i = 0; i < count; ++i) {
                EXPECT_TRUE(HasAppearance(c, i)) << k << " offers " << i;
                ASSERT_NE(AppearanceName(c, i), nullptr) << k;
                names.insert(AppearanceName(c, i));
            }
            EXPECT_EQ(names.size(), static_cast<size_t>(count)) << k;
            std::set<int> storedOnly;
            for (int i = count; i <= 9; ++i) {
                if (HasAppearance(c, i)) {
                    storedOnly.insert(i);
                }
            }
            std::set<int> expected;
            if (kind == ControlKind::Number && (c.flags & kFlagEditable) != 0) {
                expected = {4};
            } else if (kind == ControlKind::Number && c.numberHasRange) {
                expected = {3};
            } else if (kind == ControlKind::Image) {
                expected = {0}; // shown, with no choice offered
            } else if (kind == ControlKind::Matrix) {
                expected = {4, 5, 6, 7};
            }
            EXPECT_EQ(storedOnly, expected) << k;
            EXPECT_EQ(LastAppearance(c),
                      expected.empty() ? std::max(count - 1, 0) : *expected.rbegin())
                << k;
        }
    }
}

TEST(MessageBoxStyle, AnswersCountFromOneOnlyWhereTheButtonsReportThem) {
    const MessageBoxStyle yesNoCancel = MessageStyleFromFlags(kFlagButtonsYesNoCancel);
    EXPECT_EQ(AnswerCode(yesNoCancel, MessageButton::Cancel), 3);
    EXPECT_EQ(AnswerCode(yesNoCancel, MessageButton::Ok), 0);
    EXPECT_EQ(AnswerCode(MessageStyleFromFlags(kFlagButtonsOkSilent), MessageButton::Ok), 0);
    EXPECT_EQ(AnswerCode(MessageStyleFromFlags(kFlagButtonsOkToo), MessageButton::Ok), 1);
    EXPECT_EQ(MessageStyleFromFlags(0x00070000).icon, MessageIcon::Stop);
}

} // namespace

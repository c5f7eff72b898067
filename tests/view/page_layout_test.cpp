#include "view/page_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

namespace {

// The reference view: 240 wide, the controls' area ending at the page bar (209).
const FlowArea kReferenceArea{0, 0, 240, 209};

struct Panel {
    explicit Panel(size_t count) : ctrls(std::make_unique<CCtrl[]>(count)), count(count) {
        for (size_t i = 0; i < count; ++i) {
            ctrls[i].m_kind = ControlKind::Button;
            ctrls[i].m_width = kStandardWidth;
            ctrls[i].m_height = kStandardHeight;
        }
    }
    CCtrl& operator[](size_t i) { return ctrls[i]; }
    void Flow(const FlowArea& area = kReferenceArea, const std::set<int>& storedPages = {}) {
        FlowControls(ctrls.get(), static_cast<uint32_t>(count), storedPages, area, FlowSpacing{});
    }
    std::vector<int> Xs() const {
        std::vector<int> xs;
        for (size_t i = 0; i < count; ++i) {
            xs.push_back(ctrls[i].m_x);
        }
        return xs;
    }

    std::unique_ptr<CCtrl[]> ctrls;
    size_t count;
};

TEST(FlowControls, TwoStandardControlsFillARowAndAThirdWraps) {
    Panel panel(3);
    panel.Flow();
    EXPECT_EQ(panel[0].m_x, 2);
    EXPECT_EQ(panel[1].m_x, 121);
    EXPECT_EQ(panel[1].m_x + panel[1].m_width, 238);
    EXPECT_EQ(panel[0].m_y, 2);
    EXPECT_EQ(panel[1].m_y, 2);
    EXPECT_EQ(panel[2].m_x, 2);
    EXPECT_EQ(panel[2].m_y, 61);
}

TEST(FlowControls, APasswordFillsARowAlone) {
    Panel panel(3);
    panel[1].m_kind = ControlKind::Password;
    SetDefaultSize(panel[1]);
    panel.Flow();
    EXPECT_EQ(panel[1].m_width, 236);
    EXPECT_EQ(panel[1].m_height, 26);
    EXPECT_EQ(panel[0].m_y, 2);
    EXPECT_EQ(panel[1].m_y, 61);
    EXPECT_EQ(panel[1].m_x, 2);
    EXPECT_EQ(panel[2].m_y, 61 + 26 + 2);
}

TEST(FlowControls, ThreeStandardRowsToAPageTheFourthOnTheNext) {
    Panel panel(8);
    panel.Flow();
    const int expectedY[] = {2, 2, 61, 61, 120, 120, 2, 2};
    const int expectedPage[] = {0, 0, 0, 0, 0, 0, 1, 1};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(panel[i].m_y, expectedY[i]) << i;
        EXPECT_EQ(panel[i].m_page, expectedPage[i]) << i;
    }
}

TEST(FlowControls, SevenRowsOfHalfHeightControlsToAPage) {
    Panel panel(16);
    for (size_t i = 0; i < 16; ++i) {
        panel[i].m_height = 26;
    }
    panel.Flow();
    for (size_t row = 0; row < 7; ++row) {
        EXPECT_EQ(panel[2 * row].m_y, 2 + 28 * static_cast<int>(row));
        EXPECT_EQ(panel[2 * row].m_page, 0);
    }
    EXPECT_EQ(panel[14].m_y, 2);
    EXPECT_EQ(panel[14].m_page, 1);
}

TEST(FlowControls, JustificationSpreadsTheFreePixelsFirstGapsFirst) {
    Panel panel(3);
    for (size_t i = 0; i < 3; ++i) {
        panel[i].m_width = 75;
    }
    panel.Flow();
    EXPECT_EQ(panel.Xs(), (std::vector<int>{2, 83, 163}));
}

TEST(FlowControls, ControlsPassedOverDoNotShiftOrOverstretchAJustifiedRow) {
    Panel panel(5);
    panel[0].m_flags = kFlagHidden;
    panel[2].m_kind = ControlKind::MessageBox;
    for (size_t i = 0; i < 5; ++i) {
        panel[i].m_width = 75;
    }
    panel.Flow();
    EXPECT_EQ(panel[1].m_x, 2);
    EXPECT_EQ(panel[3].m_x, 83);
    EXPECT_EQ(panel[4].m_x, 163);
    EXPECT_EQ(panel[4].m_x + panel[4].m_width, 238);
}

TEST(FlowControls, TooMuchFreeSpaceLeavesTheRowLeftAligned) {
    Panel panel(2);
    panel[0].m_width = panel[1].m_width = 100;
    panel.Flow();
    EXPECT_EQ(panel.Xs(), (std::vector<int>{2, 104}));
}

TEST(FlowControls, JustificationCanBeTurnedOff) {
    Panel panel(3);
    for (size_t i = 0; i < 3; ++i) {
        panel[i].m_width = 75;
    }
    FlowSpacing spacing;
    spacing.justify = false;
    FlowControls(panel.ctrls.get(), 3, {}, kReferenceArea, spacing);
    EXPECT_EQ(panel.Xs(), (std::vector<int>{2, 79, 156}));
}

TEST(FlowControls, NewRowFlagBreaksARowThatWouldFit) {
    Panel panel(2);
    panel[1].m_flags = kFlagNewRow;
    panel.Flow();
    EXPECT_EQ(panel[1].m_x, 2);
    EXPECT_EQ(panel[1].m_y, 61);
}

TEST(FlowControls, HiddenControlsAndMessageBoxesTakeNoRoomButShareTheRow) {
    Panel panel(4);
    panel[1].m_flags = kFlagHidden;
    panel[2].m_kind = ControlKind::MessageBox;
    panel.Flow();
    // Controls 0 and 3 sit side by side; 1 and 2 get the row's y and page.
    EXPECT_EQ(panel[0].m_x, 2);
    EXPECT_EQ(panel[3].m_x, 121);
    EXPECT_EQ(panel[3].m_y, 2);
    EXPECT_EQ(panel[1].m_y, 2);
    EXPECT_EQ(panel[2].m_y, 2);
    EXPECT_EQ(panel[1].m_page, 0);
    EXPECT_EQ(panel[2].m_page, 0);
}

TEST(FlowControls, ATooWideControlStillStartsAtTheGapAndATallOneGetsItsOwnPage) {
    Panel panel(3);
    panel[1].m_width = 300;
    panel[2].m_height = 400;
    panel.Flow();
    EXPECT_EQ(panel[1].m_x, 2);
    EXPECT_EQ(panel[1].m_y, 61);
    EXPECT_EQ(panel[2].m_page, 1);
    EXPECT_EQ(panel[2].m_y, 2);
}

TEST(FlowControls, AWiderViewFitsMoreControlsPerRow) {
    Panel panel(5);
    panel.Flow(FlowArea{0, 0, 480, 209});
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(panel[i].m_y, 2) << i;
    }
    EXPECT_EQ(panel[4].m_y, 61);
}

TEST(FlowControls, FlowsOnlyOntoPagesNoStoredLayoutNames) {
    EXPECT_EQ(FirstFreePage({}), 0);
    EXPECT_EQ(FirstFreePage({0, 1}), 2);
    EXPECT_EQ(FirstFreePage({-1, 1, 3}), 0);
    Panel panel(2);
    panel.Flow(kReferenceArea, {0, 1});
    EXPECT_EQ(panel[0].m_page, 2);

    // Three rows of two fill a page; the flow steps over the stored pages 1 and 2.
    Panel many(14);
    many.Flow(kReferenceArea, {1, 2, 4});
    EXPECT_EQ(many[5].m_page, 0);
    EXPECT_EQ(many[6].m_page, 3);
    EXPECT_EQ(many[6].m_y, 2);
    EXPECT_EQ(many[12].m_page, 5);
}

TEST(DefaultSize, FollowsKindEditabilityAndAppearance) {
    CCtrl ctrl;
    ctrl.m_kind = ControlKind::Text;
    ctrl.m_flags = kFlagEditable;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_height, 26);
    ctrl.m_flags = 0;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_height, 57);

    ctrl.m_kind = ControlKind::Number;
    ctrl.m_flags = kFlagEditable;
    ctrl.m_appearance = 2;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_height, 26);
    ctrl.m_appearance = 0;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_height, 57);

    ctrl.m_kind = ControlKind::List;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_height, 26);
    ctrl.m_appearance = 1;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_height, 57);

    ctrl.m_kind = ControlKind::Image;
    ctrl.m_width = 33;
    ctrl.m_height = 44;
    SetDefaultSize(ctrl);
    EXPECT_EQ(ctrl.m_width, 33);
    EXPECT_EQ(ctrl.m_height, 44);
}

TEST(StartScreen, ButtonsAreCentredAtQuartersOfTheLayoutHeight) {
    const QRect area(0, 0, 240, 268);
    EXPECT_EQ(StartScreenPosition(area, 1, 180, 57), QPoint(30, 39));
    EXPECT_EQ(StartScreenPosition(area, 2, 180, 57), QPoint(30, 106));
    EXPECT_EQ(StartScreenPosition(area, 3, 180, 57), QPoint(30, 173));
}

} // namespace

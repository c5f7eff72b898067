#include "controls/ctrl.h"

#include "platform/qt/child_window.h"
#include "recording_reporter.h"
#include "resources/resource_ids.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class CtrlTest : public testing::Test {
protected:
    void SetUp() override { CCtrl::ResetWindowIds(); }

    ksv::ControlHeader Header(uint32_t id, uint16_t kind, const std::u16string& caption = u"",
                              uint32_t flags = 0, uint32_t colour = 0xC0C0C0) {
        ksv::ControlHeader header;
        header.id = id;
        header.kind = kind;
        header.caption = caption;
        header.flags = flags;
        header.colour = colour;
        return header;
    }

    QWidget parent;
    RecordingReporter reporter;
    CtrlServices services{nullptr, &reporter};
};

TEST(ControlKindMapping, FollowsTheRecordKindTable) {
    EXPECT_EQ(ControlKindFromRecordKind(1), ControlKind::Text);
    EXPECT_EQ(ControlKindFromRecordKind(2), ControlKind::Button);
    EXPECT_EQ(ControlKindFromRecordKind(7), ControlKind::Matrix);
    EXPECT_EQ(ControlKindFromRecordKind(12), ControlKind::File);
    EXPECT_EQ(ControlKindFromRecordKind(13), ControlKind::Unsupported);
    EXPECT_EQ(ControlKindFromRecordKind(14), ControlKind::Image);
    EXPECT_FALSE(ControlKindFromRecordKind(0).has_value());
    EXPECT_FALSE(ControlKindFromRecordKind(15).has_value());
    EXPECT_FALSE(ControlKindFromRecordKind(0xFFFF).has_value());
}

TEST_F(CtrlTest, WindowIdsStartAt15001AndCountAcrossControlsAndTheirWindows) {
    CCtrl first;
    first.InitFromRecord(Header(7, 2, u"Go"), &parent, services);
    first.CreateButton();
    CCtrl second;
    second.InitFromRecord(Header(8, 13), &parent, services);
    second.CreateUnsupported();

    EXPECT_EQ(first.m_windowId, 15001u);
    EXPECT_EQ(ksv::qt::WindowId(first.m_pButton.get()), 15001);
    EXPECT_EQ(ksv::qt::WindowId(first.m_pLabelWnd.get()), 15002);
    EXPECT_EQ(second.m_windowId, 15003u);
    EXPECT_EQ(ksv::qt::WindowId(second.m_pValueWnd.get()), 15004);

    CCtrl::ResetWindowIds();
    EXPECT_EQ(CCtrl::NextWindowId(), 15001);
}

TEST_F(CtrlTest, ViewButtonsKeepTheirFixedIdsAndTakeNoneFromThePanelCounter) {
    CCtrl button;
    button.InitViewButton(IDC_BTN_CONNECT, "Connect", &parent, true, 180, 57, services);
    button.CreateButton();
    EXPECT_EQ(ksv::qt::WindowId(button.m_pButton.get()), IDC_BTN_CONNECT);
    EXPECT_EQ(ksv::qt::WindowId(button.m_pLabelWnd.get()), 0);
    EXPECT_EQ(button.m_width, 180);
    EXPECT_EQ(button.m_widthOpen, 180);
    EXPECT_TRUE(button.m_bFontBold);
    EXPECT_EQ(CCtrl::NextWindowId(), 15001);
}

TEST_F(CtrlTest, CommonInitialisationTakesTheRecordAndSetsTheDefaults) {
    CCtrl ctrl;
    ctrl.InitFromRecord(Header(0x12, 2, u"Pump", 0x10, 0x000080), &parent, services);
    EXPECT_EQ(ctrl.m_kind, ControlKind::Unsupported);
    EXPECT_EQ(ctrl.m_deviceId, 0x12u);
    EXPECT_EQ(ctrl.m_flags, 0x10u);
    EXPECT_EQ(ctrl.m_colour, 0x000080u);
    EXPECT_EQ(ctrl.m_caption, QString("Pump"));
    EXPECT_EQ(ctrl.m_width, 117);
    EXPECT_EQ(ctrl.m_height, 57);
    EXPECT_EQ(ctrl.m_nFontHeight, 20);
    ASSERT_TRUE(ctrl.m_hBrush);
    EXPECT_EQ(ctrl.m_hBrush->color(), QColor(0x80, 0, 0));
    ASSERT_TRUE(ctrl.m_pFont);
    EXPECT_EQ(ctrl.m_pFont->pixelSize(), 20);
    EXPECT_TRUE(ctrl.m_bAutoPlace);
}

TEST_F(CtrlTest, UnsupportedShowsQuestionMarksOnWhiteWithABorder) {
    CCtrl ctrl;
    ctrl.InitFromRecord(Header(3, 13, u"", 0, 0x000000), &parent, services);
    ctrl.CreateUnsupported();
    ASSERT_TRUE(ctrl.m_pValueWnd);
    EXPECT_EQ(ctrl.m_pValueWnd->text(), QString("???"));
    EXPECT_EQ(ctrl.m_pValueWnd->frameShape(), QFrame::Box);
    EXPECT_TRUE(ctrl.m_pValueWnd->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_TRUE(ctrl.m_bBorder);
    EXPECT_EQ(ctrl.m_colour, 0xFFFFFFu);
    EXPECT_FALSE(ctrl.m_pLabelWnd);
    EXPECT_EQ(ctrl.ListName(), QString("[???]"));
    const CtlColour colour = ctrl.OnCtlColor(ctrl.m_pValueWnd.get());
    EXPECT_EQ(colour.text, QColor(Qt::black));
    EXPECT_EQ(colour.brush, QColor(Qt::white));
    EXPECT_TRUE(ctrl.OwnsWindow(ctrl.m_pValueWnd.get()));
}

TEST_F(CtrlTest, ButtonTextIsWhiteOnDarkColoursAndBlackOnLightOnes) {
    CCtrl dark;
    dark.InitFromRecord(Header(1, 2, u"Dark", 0, 0x000080), &parent, services);
    dark.CreateButton();
    EXPECT_EQ(dark.OnCtlColor(dark.m_pButton.get()).text, QColor(Qt::white));
    EXPECT_EQ(dark.m_pButton->palette().color(QPalette::ButtonText), QColor(Qt::white));
    EXPECT_EQ(dark.m_pButton->palette().color(QPalette::Button), QColor(0x80, 0, 0));

    CCtrl light;
    light.InitFromRecord(Header(2, 2, u"Light", 0, 0x808080), &parent, services);
    light.CreateButton();
    EXPECT_EQ(light.OnCtlColor(light.m_pButton.get()).text, QColor(Qt::black));
    // The label is always black on white.
    EXPECT_EQ(light.OnCtlColor(light.m_pLabelWnd.get()).brush, QColor(Qt::white));
}

TEST_F(CtrlTest, ASecondCreationIsAnInternalErrorAndStillCreates) {
    CCtrl ctrl;
    ctrl.InitFromRecord(Header(1, 2, u"Twice"), &parent, services);
    ctrl.CreateButton();
    EXPECT_EQ(reporter.ReportCount(ksv::kCtrlModule), 0u);
    ctrl.CreateButton();
    EXPECT_EQ(reporter.ReportCount(ksv::kCtrlModule), 1u);
    EXPECT_EQ(ctrl.m_kind, ControlKind::Button);
    ASSERT_TRUE(ctrl.m_pButton);
    EXPECT_EQ(ctrl.m_pButton->text(), QString("Twice"));
}

TEST_F(CtrlTest, PlaceUsesTheBodyBelowTheLabelAndTheDisabledFlag) {
    CCtrl ctrl;
    ctrl.InitFromRecord(Header(1, 2, u"Caption", kFlagDisabled), &parent, services);
    ctrl.CreateButton();
    ctrl.m_x = 10;
    ctrl.m_y = 20;
    ctrl.m_width = 100;
    ctrl.m_height = 50;
    ctrl.m_bShowLabel = true;
    ctrl.SetLabelFont(12, true);
    ctrl.Place();
    EXPECT_EQ(ctrl.m_pLabelWnd->geometry(), QRect(10, 20, 100, 12));
    EXPECT_EQ(ctrl.m_pButton->geometry(), QRect(10, 32, 100, 38));
    EXPECT_FALSE(ctrl.m_pButton->isEnabled());

    ctrl.Show(true);
    EXPECT_TRUE(ctrl.m_pButton->isVisibleTo(&parent));
    EXPECT_TRUE(ctrl.m_pLabelWnd->isVisibleTo(&parent));
    ctrl.m_bShowLabel = false;
    ctrl.Show(true);
    EXPECT_FALSE(ctrl.m_pLabelWnd->isVisibleTo(&parent));
    ctrl.Show(false);
    EXPECT_FALSE(ctrl.m_pButton->isVisibleTo(&parent));
}

TEST_F(CtrlTest, AKindOutsideTheTableIsReportedByPlaceShowAndColours) {
    CCtrl ctrl;
    ctrl.InitFromRecord(Header(1, 2), &parent, services);
    ctrl.m_kind = static_cast<ControlKind>(1);
    ctrl.Place();
    ctrl.Show(true);
    const CtlColour colour = ctrl.OnCtlColor(nullptr);
    EXPECT_EQ(colour.brush, QColor(Qt::white));
    EXPECT_EQ(reporter.ReportCount(ksv::kCtrlModule), 3u);
    EXPECT_EQ(ctrl.GetKindName(0), QString());
}

TEST_F(CtrlTest, ListNameIsTheCaptionOrTheButtonText) {
    CCtrl named;
    named.InitFromRecord(Header(1, 2, u"Start"), &parent, services);
    named.CreateButton();
    EXPECT_EQ(named.ListName(), QString("Start"));
    CCtrl unnamed;
    unnamed.InitFromRecord(Header(2, 2), &parent, services);
    unnamed.CreateButton();
    ksv::qt::SetWindowText(unnamed.m_pButton.get(), "Pressed");
    EXPECT_EQ(unnamed.ListName(), QString("Pressed"));
}

TEST(CtrlAppearances, CountsAndNamesFollowKindAndFlags) {
    CCtrl ctrl;
    ctrl.m_kind = ControlKind::Latch;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 3);
    EXPECT_EQ(ctrl.GetKindName(1), QString("Momentary Latch"));
    EXPECT_EQ(ctrl.GetKindName(9), QString("Check Box"));
    ctrl.m_latch.m_nLatchGroup = 4;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 1);

    ctrl.m_kind = ControlKind::Number;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 1);
    EXPECT_EQ(ctrl.GetKindName(0), QString("Number"));
    ctrl.m_flags = kFlagEditable;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 3);
    EXPECT_EQ(ctrl.GetKindName(0), QString("Number (Full screen)"));
    EXPECT_EQ(ctrl.GetKindName(7), QString("Number with spin"));

    ctrl.m_kind = ControlKind::Text;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 2);
    ctrl.m_flags = 0;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 1);

    ctrl.m_kind = ControlKind::Matrix;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 4);
    EXPECT_EQ(ctrl.GetKindName(7), QString("Table"));

    ctrl.m_kind = ControlKind::Image;
    EXPECT_EQ(ctrl.GetAppearanceCount(), 0);
    ctrl.m_kind = ControlKind::Unsupported;
    EXPECT_EQ(ctrl.GetKindName(0), QString("???"));
}

TEST(CtrlVisibility, HiddenFlagAndOpenPlacement) {
    CCtrl ctrl;
    EXPECT_TRUE(ctrl.IsShown());
    ctrl.m_flags = kFlagHidden;
    EXPECT_FALSE(ctrl.IsShown());

    ctrl.m_kind = ControlKind::Section;
    ctrl.m_page = 1;
    ctrl.m_pageOpen = 3;
    EXPECT_EQ(ctrl.EffectivePage(), 1);
    ctrl.m_state = 0xFF;
    EXPECT_EQ(ctrl.EffectivePage(), 3);
    ctrl.m_kind = ControlKind::Button;
    EXPECT_EQ(ctrl.EffectivePage(), 1);
}

TEST_F(CtrlTest, WindowsDestroyedByTheirParentFirstAreNotDestroyedAgain) {
    auto owner = std::make_unique<QWidget>();
    CCtrl ctrl;
    ctrl.InitFromRecord(Header(1, 2, u"Gone"), owner.get(), services);
    ctrl.CreateButton();
    owner.reset();
    EXPECT_FALSE(ctrl.m_pButton);
    EXPECT_FALSE(ctrl.m_pLabelWnd);
}

} // namespace

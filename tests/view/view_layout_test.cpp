// The per-device layout end to end: the layout dialogs driven as a user would, stored and
// device-sent entries, locks, ping periods, failed writes.

#include "view_fixture.h"

#include "dialogs/control_appearance_dialog.h"
#include "dialogs/control_settings_dialog.h"
#include "link/decoders.h"
#include "link/panel_budget.h"
#include "platform/layout/layout_attributes.h"
#include "tests/dialogs/dialog_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>

#include <climits>
#include <set>

namespace {

using namespace ksv;

class ViewLayout : public ViewFixture {
protected:
    std::vector<DeviceControl> Buttons(uint32_t count) {
        std::vector<DeviceControl> controls;
        for (uint32_t id = 1; id <= count; ++id) {
            controls.push_back(Button(id, u"B"));
        }
        return controls;
    }

    int32_t Stored(int32_t id, uint32_t attribute) const {
        return settings.GetProfileInt(kDeviceName, DeviceKey(EntryId(id), attribute), INT_MIN);
    }

    CControlSettingsDlg* OpenControlSettings() {
        view->OnMenuCommand(ID_LAYOUT_CONTROLS);
        return view->findChild<CControlSettingsDlg*>();
    }

    // Selects the list rows and presses "Modify...": the appearance dialog it opened.
    CControlAppearanceDlg* Modify(CControlSettingsDlg& settingsDlg, std::vector<int> rows) {
        auto* list = ItemById<QListWidget>(settingsDlg, CControlSettingsDlg::kListId);
        for (int row : rows) {
            list->item(row)->setSelected(true);
        }
        ClickItem(settingsDlg, CControlSettingsDlg::kModifyId);
        for (auto* dialog : settingsDlg.findChildren<CControlAppearanceDlg*>()) {
            if (dialog->isVisible()) {
                return dialog;
            }
        }
        return nullptr;
    }

    static void SetField(CControlAppearanceDlg& dialog, int itemId, int value) {
        ItemById<QLineEdit>(dialog, itemId)->setText(QString::number(value));
    }

    static void Save(QWidget& widget, const QString& name) {
        const QString folder = QStringLiteral(KSV_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        EXPECT_TRUE(widget.grab().save(folder + QLatin1Char('/') + name));
    }
};

TEST_F(ViewLayout, ModifyMovesOneControlToPageThreeOnlyWithOk) {
    StartView();
    ConnectWithPanel(Buttons(4));
    Save(*view, QStringLiteral("layout-before.png"));
    CControlSettingsDlg* settingsDlg = OpenControlSettings();
    ASSERT_NE(settingsDlg, nullptr);
    EXPECT_EQ(ItemById<QListWidget>(*settingsDlg, CControlSettingsDlg::kListId)->count(), 4 + 5);
    CControlAppearanceDlg* appearance = Modify(*settingsDlg, {1});
    ASSERT_NE(appearance, nullptr);
    SetField(*appearance, CControlAppearanceDlg::kPageEditId, 3);
    SetField(*appearance, CControlAppearanceDlg::kXEditId, 60);
    PressOk(*appearance);
    // Nothing is stored or moved until the Control Settings dialog ends with OK.
    EXPECT_EQ(Stored(2, kAttrAutoPlace), INT_MIN);
    EXPECT_EQ(view->LastPage(), 0);
    PressOk(*settingsDlg);

    EXPECT_EQ(Stored(2, kAttrAutoPlace), 0);
    EXPECT_EQ(Stored(2, kAttrPage), 3);
    EXPECT_EQ(view->LastPage(), 3);
    EXPECT_EQ(view->Control(1)->m_page, 3);
    EXPECT_EQ(view->Control(0)->m_page, 0); // the others flow from the first page left free
    view->OnMenuCommand(ID_PAGE_LAST);
    EXPECT_TRUE(IsVisible(ControlButton(1)));
    EXPECT_EQ(ControlButton(1)->geometry().topLeft(), QPoint(60, 2));
    Save(*view, QStringLiteral("layout-after.png"));
}

// Pages holding a control placed by the user or the device are left to it; the flow keeps
// its own pages, which SaveLayout stores too, filled from page 0.
TEST_F(ViewLayout, TheFlowNeverCoversAPagePlacedByTheUserOrTheDevice) {
    StartView();
    ConnectWithPanel(Buttons(10));
    CControlSettingsDlg* settingsDlg = OpenControlSettings();
    ASSERT_NE(settingsDlg, nullptr);
    CControlAppearanceDlg* appearance = Modify(*settingsDlg, {1});
    ASSERT_NE(appearance, nullptr);
    SetField(*appearance, CControlAppearanceDlg::kPageEditId, 1);
    SetField(*appearance, CControlAppearanceDlg::kXEditId, 10);
    SetField(*appearance, CControlAppearanceDlg::kYEditId, 100);
    PressOk(*appearance);
    PressOk(*settingsDlg);

    auto pagesOfAutomatic = [this] {
        std::set<int> pages;
        for (uint32_t i = 0; i < 10; ++i) {
            if (view->Control(i)->m_bAutoPlace) {
                pages.insert(view->Control(i)->m_page);
            }
        }
        return pages;
    };
    EXPECT_EQ(view->Control(1)->m_page, 1);
    EXPECT_EQ(pagesOfAutomatic(), (std::set<int>{0, 2}));

    Send(EncodeLayoutEntries({{5, kAttrPage, 3}, {5, kAttrY, 150}}));
    ASSERT_TRUE(WaitFor([this] { return view->Control(4)->m_page == 3; }));
    EXPECT_EQ(pagesOfAutomatic(), (std::set<int>{0, 2}));
    Send(EncodeLayoutEntries({{6, kAttrPage, 0}}));
    ASSERT_TRUE(WaitFor([this] { return !view->Control(5)->m_bAutoPlace; }));
    EXPECT_EQ(pagesOfAutomatic(), (std::set<int>{2, 4}));
}

TEST_F(ViewLayout, SeveralControlsTakeSizeAndFontButKeepPlacesAndCancelChangesNothing) {
    StartView();
    ConnectWithPanel(Buttons(3));
    CControlSettingsDlg* settingsDlg = OpenControlSettings();
    ASSERT_NE(settingsDlg, nullptr);
    CControlAppearanceDlg* appearance = Modify(*settingsDlg, {0, 1, 2});
    ASSERT_NE(appearance, nullptr);
    EXPECT_FALSE(ItemById<QLineEdit>(*appearance, CControlAppearanceDlg::kXEditId)->isEnabled());
    SetField(*appearance, CControlAppearanceDlg::kWidthEditId, 50);
    appearance->reject(); // the first target's values must not reach the others
    EXPECT_EQ(view->Control(2)->m_width, 117);
    EXPECT_TRUE(view->Control(2)->m_bAutoPlace);

    appearance = Modify(*settingsDlg, {0, 1, 2});
    ASSERT_NE(appearance, nullptr);
    SetField(*appearance, CControlAppearanceDlg::kWidthEditId, 100);
    SetField(*appearance, CControlAppearanceDlg::kFontSizeEditId, 12);
    ItemById<QCheckBox>(*appearance, CControlAppearanceDlg::kBoldId)->setChecked(true);
    PressOk(*appearance);
    PressOk(*settingsDlg);
    const QPoint places[] = {{2, 2}, {121, 2}, {2, 61}};
    for (uint32_t i = 0; i < 3; ++i) {
        const CCtrl& ctrl = *view->Control(i);
        EXPECT_EQ(ControlButton(i)->geometry(), QRect(places[i], QSize(100, 57))) << i;
        EXPECT_EQ(ctrl.m_nFontHeight, 12);
        EXPECT_TRUE(ctrl.m_bFontBold);
        EXPECT_EQ(Stored(static_cast<int32_t>(i + 1), kAttrWidth), 100);
    }
}

TEST_F(ViewLayout, ChangesLeftWithoutOkAreNotStoredByALaterSave) {
    StartView();
    ConnectWithPanel(Buttons(2));
    CControlSettingsDlg* settingsDlg = OpenControlSettings();
    ASSERT_NE(settingsDlg, nullptr);
    CControlAppearanceDlg* appearance = Modify(*settingsDlg, {0, 5});
    ASSERT_NE(appearance, nullptr);
    PressOk(*appearance);
    settingsDlg->reject();
    EXPECT_EQ(Stored(1, kAttrAutoPlace), INT_MIN);
    view->SetPingDialogHook([](PingValues&) { return true; });
    view->OnMenuCommand(ID_PINGS); // stores the whole layout
    EXPECT_EQ(Stored(1, kAttrAutoPlace), 1);
    EXPECT_EQ(Stored(-255, kAttrAutoPlace), 1); // "Prev"
}

TEST_F(ViewLayout, TheListNamesShownControlsAndALoggedInPasswordMovesItsOpenPlacement) {
    StartView();
    ConnectWithPanel({Button(1, u"A"), Button(2, u"Hidden", kFlagHidden),
                      DeviceControl('S', 0, 3).ValueByte(0).Caption(u"S"),
                      DeviceControl('P', 0, 4).ValueByte(1).Caption(u"Pw"),
                      DeviceControl('X', kFlagHidden, 5).ValueText(u"").U32('m', 8).Caption(u"M")});
    CControlSettingsDlg* settingsDlg = OpenControlSettings();
    ASSERT_NE(settingsDlg, nullptr);
    auto* list = ItemById<QListWidget>(*settingsDlg, CControlSettingsDlg::kListId);
    QStringList lines;
    for (int row = 0; row < list->count(); ++row) {
        lines << list->item(row)->text();
    }
    EXPECT_EQ(lines, QStringList({"A", "S (closed)", "Pw (open)", "M", "Close Nav Button",
                                  "Prev Nav Button", "Next Nav Button", "First Nav Button",
                                  "Last Nav Button"}));

    const CCtrl& password = *view->Control(3);
    const int closedY = password.m_y;
    CControlAppearanceDlg* appearance = Modify(*settingsDlg, {2});
    ASSERT_NE(appearance, nullptr);
    SetField(*appearance, CControlAppearanceDlg::kYEditId, 150);
    PressOk(*appearance);
    PressOk(*settingsDlg);
    EXPECT_EQ(view->Control(3)->m_yOpen, 150);
    EXPECT_EQ(view->Control(3)->m_y, closedY);
    EXPECT_EQ(Stored(4, kAttrYOpen), 150);
    EXPECT_EQ(view->Control(3)->m_pButton->geometry().top(), 150);
}

// A stored place for "Last" shows it on every page; "Default Layout" then stores the automatic
// places of everything, "Last" back off screen.
TEST_F(ViewLayout, StoredLastButtonShowsOnEveryPageUntilDefaultLayout) {
    for (const auto& [attribute, value] : {std::pair<uint32_t, int32_t>{kAttrAutoPlace, 0},
                                           {kAttrX, 2},
                                           {kAttrY, 150},
                                           {kAttrPage, -1}}) {
        PresetDeviceInt(EntryId(-252), attribute, value);
    }
    StartView();
    ConnectWithPanel(Buttons(14));
    ASSERT_EQ(Stored(1, kAttrAutoPlace), INT_MIN);
    for (int page : {0, 2}) {
        view->OnMenuCommand(page == 0 ? ID_PAGE_FIRST : ID_PAGE_LAST);
        EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_LAST))) << page;
        EXPECT_EQ(ViewButton(IDC_BTN_LAST)->geometry(), QRect(2, 150, 57, 57));
    }
    view->OnMenuCommand(ID_DEFAULT_LAYOUT);
    EXPECT_EQ(ViewButton(IDC_BTN_LAST)->geometry().topLeft(), QPoint(240, -100));
    EXPECT_EQ(Stored(-252, kAttrAutoPlace), 1);
    EXPECT_EQ(Stored(-252, kAttrY), -100);
    EXPECT_EQ(Stored(1, kAttrAutoPlace), 1);
    EXPECT_EQ(Stored(2, kAttrX), 121);
    EXPECT_EQ(Stored(14, kAttrPage), 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ViewLayout, HostileStoredValuesAreBroughtIntoRange) {
    struct Preset {
        int32_t id;
        uint32_t attribute;
        int32_t value;
    };
    const Preset presets[] = {
        {1, kAttrX, INT_MAX},       {1, kAttrWidth, 0},
        {2, kAttrWidth, 100000},    {2, kAttrFontHeight, 100000},
        {3, kAttrPage, -7},         {3, kAttrHeight, INT_MIN},
        {4, kAttrPage, 1000000},    {4, kAttrAppearance, 99},
        {4, kAttrFontHeight, 0},    {77, kAttrX, 5},
        {-252, kAttrWidth, 100000}, {0, kAttrPingSeconds, -4},
    };
    for (const Preset& p : presets) {
        PresetDeviceInt(EntryId(p.id), kAttrAutoPlace, 0);
        PresetDeviceInt(EntryId(p.id), p.attribute, p.value);
    }
    StartView();
    ConnectWithPanel({Button(1, u"A"), Button(2, u"B"), Button(3, u"C"),
                      DeviceControl('L', 0, 4).ValueU32(0).U32('n', 1).String('I', u"x")});
    EXPECT_EQ(view->Control(0)->m_x, 4096);
    EXPECT_EQ(view->Control(0)->m_width, 1);
    EXPECT_EQ(view->Control(1)->m_width, 2048);
    EXPECT_EQ(view->Control(1)->m_pFont->pixelSize(), 300);
    EXPECT_EQ(view->Control(2)->m_page, 0);
    EXPECT_EQ(view->Control(2)->m_height, 1);
    EXPECT_EQ(view->Control(3)->m_page, 9999);
    EXPECT_EQ(view->Control(3)->m_appearance, 0);
    EXPECT_EQ(view->Control(3)->m_nFontHeight, 1);
    EXPECT_EQ(ViewButton(IDC_BTN_LAST)->width(), 2048);
    EXPECT_FALSE(view->IsPingOn());
    view->OnMenuCommand(ID_PAGE_LAST);
    EXPECT_EQ(view->CurrentPage(), 9999);
    EXPECT_TRUE(IsVisible(view->Control(3)->m_pCombo.get()));
}

TEST_F(ViewLayout, LayoutEntriesAtAnyTimeRebuildWithThemAndSetThePingPeriod) {
    PresetDeviceInt(0, kAttrPingSeconds, 10);
    StartView();
    ConnectWithPanel(Buttons(2));
    EXPECT_TRUE(view->IsPingOn());
    EXPECT_EQ(view->PingSeconds(), 10);
    Send(EncodeLayoutEntries({{2, kAttrPage, 1}, {0, kAttrPingSeconds, 0}}));
    ASSERT_TRUE(WaitFor([this] { return view->LastPage() == 1; }));
    EXPECT_EQ(view->Control(1)->m_page, 1);
    EXPECT_FALSE(view->IsPingOn());
}

TEST_F(ViewLayout, AMillionLayoutEntriesAreCappedAndThePanelStillWorks) {
    StartView();
    ConnectWithPanel(Buttons(2));
    const size_t before = settings.EntryCount();
    std::vector<LayoutEntry> entries(1000000);
    for (uint32_t i = 0; i < entries.size(); ++i) {
        entries[i] = {1000 + i % 50000, kAttrX + i / 50000, 7};
    }
    entries.push_back({1, kAttrPage, 1}); // past the cap: never written
    const CCtrl* built = view->Control(0);
    Send(EncodeLayoutEntries(entries));
    ASSERT_TRUE(WaitFor([&] { return view->Control(0) != built; }, std::chrono::seconds(60)));
    EXPECT_LE(settings.EntryCount(), before + kMaxLayoutEntries + 50000);
    EXPECT_EQ(reporter.ReportCount(kLinkModule), 1u);
    EXPECT_EQ(view->Control(0)->m_page, 0);
    EXPECT_EQ(view->LastPage(), 0);
}

// Floods of keys no control can read once grew the settings file by every key and rewrote it
// whole for each message; a repeated layout rewrote it too.
TEST_F(ViewLayout, LayoutFloodsOfFreshKeysStoreNothingAndARepeatedLayoutWritesNothing) {
    StartView();
    ConnectWithPanel(Buttons(2));
    for (uint32_t flood = 0; flood < 3; ++flood) {
        std::vector<LayoutEntry> entries;
        for (uint32_t i = 0; i < 20000; ++i) {
            entries.push_back({1000 + flood * 20000 + i, kAttrX, 7}); // no such control
            entries.push_back({1, 0x10000 + flood * 20000 + i, 7});   // no such attribute
        }
        entries.push_back({2, kAttrPage, 1});
        entries.push_back({EntryId(kPageBarIds[4]), kAttrY, 150});
        const CCtrl* built = view->Control(0);
        Send(EncodeLayoutEntries(entries));
        ASSERT_TRUE(WaitFor([&] { return view->Control(0) != built; }, std::chrono::seconds(30)));
    }
    EXPECT_EQ(view->Control(1)->m_page, 1);
    EXPECT_LE(settings.SectionEntryCount(kDeviceName), 8u);
    const size_t commits = settings.CommitCount();
    const CCtrl* built = view->Control(0);
    Send(EncodeLayoutEntries({{2, kAttrPage, 1}, {EntryId(kPageBarIds[4]), kAttrY, 150}}));
    ASSERT_TRUE(WaitFor([&] { return view->Control(0) != built; }));
    EXPECT_EQ(settings.CommitCount(), commits);
}

// A device may recommend its layout before it describes the panel.
TEST_F(ViewLayout, LayoutEntriesBeforeThePanelApplyToItWhenItArrives) {
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, kMsgHello);
    Send(EncodeHelloReply(kDeviceName, false, kHelloPingsOff));
    ASSERT_TRUE(WaitFor([this] { return title == QString::fromStdU16String(kDeviceName); }));
    Send(EncodeLayoutEntries({{2, kAttrPage, 1}}));
    Send(EncodePanelDescription(Buttons(2)));
    ASSERT_TRUE(WaitFor([this] { return view->ControlCount() == 2; }));
    EXPECT_EQ(view->Control(1)->m_page, 1);
    EXPECT_EQ(view->LastPage(), 1);
}

TEST_F(ViewLayout, TheLayoutLockBelongsToItsDevice) {
    PresetDeviceInt(0, kAttrLayoutLocked, 1);
    StartView();
    ConnectWithPanel(Buttons(1));
    EXPECT_FALSE(view->IsCommandEnabled(ID_LAYOUT_CONTROLS));
    EXPECT_FALSE(view->IsCommandEnabled(ID_DEFAULT_LAYOUT));
    EXPECT_TRUE(view->IsCommandEnabled(ID_LOAD_RECOMMENDED_LAYOUT));
    view->OnMenuCommand(ID_DEFAULT_LAYOUT); // sent regardless: nothing stored
    EXPECT_EQ(Stored(1, kAttrAutoPlace), INT_MIN);

    view->OnMenuCommand(ID_CLOSE);
    device.Drain();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, kMsgHello);
    Send(EncodeHelloReply(u"Other", false, kHelloPingsOff));
    Send(EncodePanelDescription(Buttons(1)));
    ASSERT_TRUE(WaitFor([this] { return view->ControlCount() == 1; }));
    EXPECT_TRUE(view->IsCommandEnabled(ID_LAYOUT_CONTROLS));
    EXPECT_TRUE(view->IsCommandEnabled(ID_DEFAULT_LAYOUT));
}

TEST_F(ViewLayout, AFailedWriteIsToldAndTheLayoutKept) {
    StartView();
    ConnectWithPanel(Buttons(2));
    settings.SetCommitFails(true);
    view->OnMenuCommand(ID_DEFAULT_LAYOUT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("The layout could not be written"));
    EXPECT_TRUE(stopIcons[0]);
    EXPECT_EQ(Stored(2, kAttrX), 121); // held, and written with the next commit
    settings.SetCommitFails(false);
    const size_t commits = settings.CommitCount();
    EXPECT_TRUE(view->SaveLayout());
    EXPECT_EQ(settings.CommitCount(), commits + 1);
}

TEST_F(ViewLayout, TheLayoutDialogsCloseWhenTheSessionEnds) {
    StartView();
    ConnectWithPanel(Buttons(2));
    CControlSettingsDlg* settingsDlg = OpenControlSettings();
    ASSERT_NE(settingsDlg, nullptr);
    QPointer<CControlAppearanceDlg> appearance = Modify(*settingsDlg, {0});
    ASSERT_TRUE(appearance);
    QPointer<CControlSettingsDlg> watched = settingsDlg;
    Send(EncodeBareFrame(kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([&] { return !watched && !appearance; }));
    EXPECT_EQ(view->ControlCount(), 0u);
}

} // namespace

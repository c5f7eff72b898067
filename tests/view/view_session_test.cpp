#include "view_fixture.h"

#include <QLabel>
#include <QLineEdit>

#include <filesystem>

namespace {

using ViewSession = ViewFixture;

TEST_F(ViewSession, TheWholeRoadOfASession) {
    StartView();
    EXPECT_TRUE(comPortDialogs.empty());
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT)));
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_EXIT)));
    EXPECT_FALSE(IsVisible(ViewButton(IDC_BTN_CONNECT_INBOUND)));
    EXPECT_FALSE(IsVisible(ViewButton(IDC_BTN_CLOSE)));

    ConnectWithPanel({Button(101, u"Start"), ksv::DeviceControl('Q', 0, 102),
                      ksv::DeviceControl('T', 0x00010000, 103).ValueText(u"hi").U32('m', 10)});
    EXPECT_EQ(title, QString("TestDevice"));
    ASSERT_TRUE(WaitFor([this] { return IsVisible(ControlButton(0)); }));

    // The panel: a button, a placeholder for the unknown tag, and an editable text; numbered
    // from 15001 across the controls' windows.
    const CCtrl* button = view->Control(0);
    EXPECT_EQ(button->m_kind, ControlKind::Button);
    EXPECT_EQ(button->m_pButton->text(), QString("Start"));
    EXPECT_EQ(button->m_pButton->geometry(), QRect(2, 2, 117, 57));
    EXPECT_EQ(button->m_windowId, 15001u);
    const CCtrl* unknown = view->Control(1);
    EXPECT_EQ(unknown->m_kind, ControlKind::Unsupported);
    EXPECT_EQ(unknown->m_windowId, 15003u);
    ASSERT_TRUE(unknown->m_pValueWnd);
    EXPECT_EQ(unknown->m_pValueWnd->text(), QString("???"));
    EXPECT_EQ(unknown->m_pValueWnd->geometry(), QRect(121, 2, 117, 57));
    EXPECT_TRUE(IsVisible(unknown->m_pValueWnd.get()));
    EXPECT_EQ(view->Control(2)->m_kind, ControlKind::Text);
    ASSERT_TRUE(view->Control(2)->m_pEdit);
    EXPECT_EQ(view->Control(2)->m_pEdit->geometry(), QRect(2, 61, 117, 26));

    // The page bar of a one-page panel: every page button disabled, "Last" off screen.
    EXPECT_FALSE(IsVisible(ViewButton(IDC_BTN_CONNECT)));
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CLOSE)));
    EXPECT_EQ(ViewButton(IDC_BTN_CLOSE)->geometry(), QRect(2, 209, 57, 57));
    EXPECT_EQ(ViewButton(IDC_BTN_FIRST)->geometry(), QRect(181, 209, 57, 57));
    EXPECT_EQ(ViewButton(IDC_BTN_LAST)->geometry(), QRect(240, -100, 57, 57));
    for (int id : {IDC_BTN_FIRST, IDC_BTN_PREV, IDC_BTN_NEXT, IDC_BTN_LAST}) {
        EXPECT_FALSE(ViewButton(id)->isEnabled()) << id;
    }

    // A tap on the button reports the press, 0xFF, in one Values frame.
    Click(ControlButton(0));
    const HandheldFrame values = ReadFrame();
    ASSERT_EQ(values.kind, ksv::kMsgValuesToDevice);
    EXPECT_EQ(values.flags, 0);
    const auto entries = ViewFixture::ValueEntries(values.payload);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, 101u);
    EXPECT_EQ(entries[0].bytes, std::vector<uint8_t>{0xFF});
    // The placeholder takes no input.
    Click(unknown->m_pValueWnd.get());

    // Goodbye: the start screen and the application's title are back; nothing is sent.
    Send(ksv::EncodeBareFrame(ksv::kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([this] { return view->ControlCount() == 0; }));
    EXPECT_FALSE(view->IsConnected());
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(title, QString("kestrovane"));
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT)));
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isEnabled());
    EXPECT_FALSE(IsVisible(ViewButton(IDC_BTN_CLOSE)));
    EXPECT_EQ(device.Drain(), 0u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(reporter.Reports().size(), 0u);
}

TEST_F(ViewSession, ANewPanelIsNumberedFrom15001Again) {
    StartView();
    ConnectWithPanel({Button(1, u"A"), Button(2, u"B")});
    Send(ksv::EncodeBareFrame(ksv::kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([this] { return !view->IsConnected() && view->ControlCount() == 0; }));
    ConnectWithPanel({Button(5, u"C")});
    EXPECT_EQ(view->Control(0)->m_windowId, 15001u);
}

TEST_F(ViewSession, AnUnansweredPingEndsTheSession) {
    PresetDeviceInt(0, 768, 1); // this device is pinged every second
    StartView();
    ConnectWithPanel({Button(1, u"A")}, 0);
    EXPECT_TRUE(view->IsPingOn());
    EXPECT_EQ(view->PingSeconds(), 1);

    // The first ping is answered and the session goes on.
    ASSERT_EQ(ReadFrame(std::chrono::seconds(3)).kind, ksv::kMsgPing);
    Send(ksv::EncodeBareFrame(ksv::kMsgPingReply));
    ASSERT_EQ(ReadFrame(std::chrono::seconds(3)).kind, ksv::kMsgPing);
    EXPECT_TRUE(view->IsConnected());
    EXPECT_EQ(view->ControlCount(), 1u);

    // The second is not: the next tick ends the session silently.
    ASSERT_TRUE(WaitFor([this] { return !view->IsConnected(); }, std::chrono::seconds(3)));
    EXPECT_EQ(view->ControlCount(), 0u);
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_FALSE(view->IsPingOn());
    EXPECT_EQ(title, QString("kestrovane"));
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT)));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ViewSession, AKeptPanelStaysAfterGoodbyeUntilClosedThenCloseQuits) {
    StartView();
    ConnectWithPanel({Button(1, u"A")}, ksv::kHelloPingsOff | ksv::kHelloKeepPanel);
    Send(ksv::EncodeBareFrame(ksv::kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([this] { return !view->IsConnected(); }));
    EXPECT_EQ(view->ControlCount(), 1u);
    EXPECT_TRUE(IsVisible(ControlButton(0)));
    EXPECT_FALSE(link->IsPortOpen());
    // It says it is not live: the title, the controls greyed, the page bar still usable.
    EXPECT_EQ(title, QString::fromUtf8("TestDevice \u2014 disconnected"));
    EXPECT_FALSE(ControlButton(0)->isEnabled());
    EXPECT_TRUE(ViewButton(IDC_BTN_CLOSE)->isEnabled());
    const QPoint inButton = ControlButton(0)->geometry().center() - QPoint(20, 0);
    const QColor own = ksv::qt::ColourFromRef(view->Control(0)->m_colour);
    EXPECT_NE(QColor(view->grab().toImage().pixel(inButton)), own); // faded

    // The kept panel is dead; "Close" clears it without a word to the device.
    Click(ControlButton(0));
    Click(ViewButton(IDC_BTN_CLOSE));
    EXPECT_EQ(view->ControlCount(), 0u);
    EXPECT_EQ(title, QString("kestrovane"));
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT)));
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(device.Drain(), 0u);

    Click(ViewButton(IDC_BTN_EXIT));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(reporter.Reports().size(), 0u);
}

TEST_F(ViewSession, AGoodbyeBeforeAnyPanelReturnsToTheIdleStartScreenEvenWhenKeeping) {
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    Send(ksv::EncodeHelloReply(kDeviceName, false, ksv::kHelloPingsOff | ksv::kHelloKeepPanel));
    Send(ksv::EncodeBareFrame(ksv::kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([this] { return !view->IsConnected(); }));
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isEnabled());
    EXPECT_EQ(title, QString("kestrovane"));
}

TEST_F(ViewSession, APortThatDoesNotExistIsReportedAndTheStartScreenReturns) {
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 8);
    std::filesystem::create_symlink("/nonexistent/kestrovane-tty",
                                    device.Paths().portsFolder + "/COM8");
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(messages.size(), 1u);
    // The specified text first, then why, then what to check.
    EXPECT_TRUE(messages[0].startsWith("Unable to connect to COM8:\n/nonexistent/kestrovane-tty "
                                       "is missing:"))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("Settings > Com Ports..."));
    EXPECT_TRUE(stopIcons[0]);
    EXPECT_FALSE(view->IsConnected());
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isEnabled());
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT)));

    // Back on the idle start screen, "Close" quits.
    view->OnMenuCommand(ID_CLOSE);
    EXPECT_EQ(quits, 1);
}

TEST_F(ViewSession, APanelWithoutControlsKeepsTheStartScreenDisabledUntilClosed) {
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    EXPECT_FALSE(ViewButton(IDC_BTN_CONNECT)->isEnabled());
    // A second "Connect" while opening does nothing.
    view->OnCommand(IDC_BTN_CONNECT, 0, ViewButton(IDC_BTN_CONNECT));
    EXPECT_EQ(device.Drain(), 0u);

    Send(ksv::EncodePanelDescription({}));
    ASSERT_TRUE(WaitFor([this] { return !messages.empty(); }));
    EXPECT_TRUE(messages[0].startsWith("The control panel has no controls!\n\n"));
    EXPECT_FALSE(stopIcons[0]);
    EXPECT_EQ(ReadFrame().kind, ksv::kMsgLayoutRequest);
    EXPECT_TRUE(view->IsConnected());
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT)));
    EXPECT_FALSE(ViewButton(IDC_BTN_CONNECT)->isEnabled());

    // "Close" says Goodbye to the device.
    Click(ViewButton(IDC_BTN_EXIT));
    EXPECT_EQ(ReadFrame().kind, ksv::kMsgGoodbyeFromHandheld);
    EXPECT_FALSE(view->IsConnected());
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isEnabled());
    EXPECT_EQ(quits, 0);
}

TEST_F(ViewSession, ClosingAPanelSaysGoodbye) {
    StartView();
    ConnectWithPanel({Button(1, u"A")});
    Click(ViewButton(IDC_BTN_CLOSE));
    EXPECT_EQ(ReadFrame().kind, ksv::kMsgGoodbyeFromHandheld);
    EXPECT_EQ(view->ControlCount(), 0u);
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(title, QString("kestrovane"));
}

TEST_F(ViewSession, AFailedReceiveIsReportedAndTheNextFrameStillArrives) {
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    // Kind 3 is not a kind the handheld receives.
    Send(ksv::EncodeBareFrame(3));
    Send(ksv::EncodeHelloReply(kDeviceName, false, ksv::kHelloPingsOff));
    ASSERT_TRUE(WaitFor([this] { return title == QString("TestDevice"); }));
    EXPECT_EQ(reporter.ReportCount(ksv::kViewModule), 1u);
    bool viewReportedMinusOne = false;
    for (const auto& report : reporter.Reports()) {
        viewReportedMinusOne |= report.module == ksv::kViewModule && report.value == -1;
    }
    EXPECT_TRUE(viewReportedMinusOne);
    EXPECT_TRUE(view->IsConnected());
}

TEST_F(ViewSession, AValueUpdateTurnsToThePageOfAFlaggedControl) {
    StartView();
    std::vector<ksv::DeviceControl> controls;
    for (uint32_t id = 1; id <= 8; ++id) {
        controls.push_back(Button(id, u"B", id == 8 ? 0x00000010 : 0));
    }
    ConnectWithPanel(controls);
    EXPECT_EQ(view->CurrentPage(), 0);
    Send(ksv::EncodeValues({ksv::ByteEntry(8, 1)}));
    ASSERT_TRUE(WaitFor([this] { return view->CurrentPage() == 1; }));
    EXPECT_TRUE(IsVisible(ControlButton(7)));
    EXPECT_FALSE(IsVisible(ControlButton(0)));
}

TEST_F(ViewSession, HidingAControlRebuildsThePanelAndReflowsIt) {
    StartView();
    ConnectWithPanel({Button(1, u"A"), Button(2, u"B"), Button(3, u"C")});
    const int firstId = static_cast<int>(view->Control(0)->m_windowId);
    Send(ksv::EncodeStyleUpdate({ksv::StyleEntry(2, 0x00000001)}));
    ASSERT_TRUE(WaitFor([this] { return !view->Control(1)->IsShown(); }));
    EXPECT_NE(static_cast<int>(view->Control(0)->m_windowId), firstId); // rebuilt
    EXPECT_FALSE(IsVisible(ControlButton(1)));
    EXPECT_EQ(ControlButton(2)->geometry(), QRect(121, 2, 117, 57));

    // A colour change alone only repaints.
    const uint32_t idBefore = view->Control(2)->m_windowId;
    Send(ksv::EncodeStyleUpdate({ksv::StyleEntry(3, 0x00000040, 0x000080)}));
    ASSERT_TRUE(WaitFor([this] { return view->Control(2)->m_colour == 0x000080u; }));
    EXPECT_EQ(view->Control(2)->m_windowId, idBefore);
    EXPECT_EQ(ControlButton(2)->palette().color(QPalette::ButtonText), QColor(Qt::white));
}

} // namespace

namespace {

using ViewArrivals = ViewFixture;

TEST_F(ViewArrivals, RecordKindsOutsideTheTableAreReportedAndLeftWithoutWindows) {
    StartView();
    ConnectWithPanel({Button(1, u"A")});
    {
        std::vector<ksv::ControlRecord> records(3);
        records[0].id = 10;
        records[0].kind = ksv::kRecordUnknown;
        records[1].id = 11;
        records[1].kind = 15;
        records[2].id = 12;
        records[2].kind = ksv::kRecordButton;
        records[2].caption = u"Still here";
        link->Store().ReplaceControls(std::move(records));
    }
    // Layout entries make the view build the panel again from the store.
    Send(ksv::EncodeLayoutEntries({}));
    ASSERT_TRUE(WaitFor([this] { return view->ControlCount() == 3; }));
    EXPECT_EQ(reporter.ReportCount(ksv::kViewModule), 1u);
    EXPECT_EQ(view->Control(0)->m_kind, ControlKind::Unsupported);
    EXPECT_TRUE(view->Control(0)->m_pValueWnd);
    EXPECT_EQ(view->Control(1)->m_kind, ControlKind::Unsupported);
    EXPECT_FALSE(view->Control(1)->m_pValueWnd);
    EXPECT_FALSE(view->Control(1)->m_pButton);
    EXPECT_EQ(view->Control(2)->m_pButton->text(), QString("Still here"));
    EXPECT_TRUE(IsVisible(view->Control(2)->m_pButton.get()));
}

TEST_F(ViewArrivals, AnAnsweredDeviceMessageIsSentAsOneImmediateByte) {
    StartView();
    ConnectWithPanel({Button(21, u"A")});
    // Two posts before the view runs: the later answer replaces the earlier and goes out once.
    view->PostAnswer(18000, 21);
    view->PostAnswer(18002, 21);
    const HandheldFrame frame = ReadFrame();
    ASSERT_EQ(frame.kind, ksv::kMsgValuesToDevice);
    const auto entries = ViewFixture::ValueEntries(frame.payload);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, 21u);
    EXPECT_EQ(entries[0].bytes, std::vector<uint8_t>{2});
    view->PostAnswer(18004, 21);
    QTest::qWait(20);
    EXPECT_EQ(device.Drain(), 0u);
}

TEST_F(ViewArrivals, AResetRequestGreetsTheDeviceAgain) {
    StartView();
    ConnectWithPanel({Button(1, u"A")});
    Send(ksv::EncodeBareFrame(ksv::kMsgResetRequest));
    EXPECT_EQ(ReadFrame().kind, ksv::kMsgHello);
    EXPECT_TRUE(view->IsConnected());
    EXPECT_EQ(view->ControlCount(), 1u);
}

} // namespace

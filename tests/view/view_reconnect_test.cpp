#include "view_fixture.h"

#include <QDir>
#include <QLabel>
#include <QRegularExpression>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// "Reconnect Automatically" on, against a TCP device that can go away and come back; the
// waits are short so that retries come many times a second.
class ViewReconnect : public ViewFixtureOn<ksv::testing::TcpDevice> {
protected:
    void SetUp() override {
        ViewFixtureOn::SetUp();
        settings.WriteProfileInt(ksv::kGlobalSection, "m_AutoReconnect", 1);
    }
    void StartQuickView() {
        StartView();
        view->SetReconnectSchedule({20ms, 200ms, 1s});
    }
    QString Line() const { return view->ReconnectLine()->text(); }
    bool LineShown() const { return IsVisible(view->ReconnectLine()); }
};

TEST_F(ViewReconnect, ADeviceGoneForFiveSecondsIsReconnectedAndItsPanelArrivesAgain) {
    StartQuickView();
    ConnectWithPanel({Button(1, u"One")});
    device.HangUp();
    ASSERT_TRUE(WaitFor([this] { return view->IsReconnecting() && LineShown(); }));
    EXPECT_EQ(view->ControlCount(), 0u);
    EXPECT_TRUE(Line().startsWith("Reconnecting to COM7: ")) << Line().toStdString();

    // Away for five seconds: every attempt is refused, silently.
    const auto back = Clock::now() + 5s;
    ASSERT_TRUE(WaitFor([&back] { return Clock::now() >= back; }, 6s));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(Line().contains(QRegularExpression("attempt\\W[1-9][0-9]")))
        << Line().toStdString();

    // The line sits inside the start screen above "Connect", its text whole.
    const QLabel* line = view->ReconnectLine();
    EXPECT_TRUE(view->rect().contains(line->geometry()));
    EXPECT_LE(line->geometry().bottom(), ViewButton(IDC_BTN_CONNECT)->geometry().top());
    EXPECT_LE(line->heightForWidth(line->width()), line->height());
    QDir().mkpath(KSV_SCREENSHOT_DIR);
    view->grab().save(QStringLiteral(KSV_SCREENSHOT_DIR "/start-reconnecting.png"));

    device.ComeBack();
    // Taken but not answered: that attempt is given up, and the next one connects anew.
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    const int connections = device.Connections();
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    EXPECT_GT(device.Connections(), connections);
    Send(ksv::EncodeHelloReply(kDeviceName, false, ksv::kHelloPingsOff));
    Send(ksv::EncodePanelDescription({Button(1, u"One"), Button(2, u"Two")}));
    ASSERT_TRUE(WaitFor([this] { return view->ControlCount() == 2u; }));
    EXPECT_FALSE(view->IsReconnecting());
    EXPECT_FALSE(LineShown());
    EXPECT_EQ(title, QString::fromStdU16String(kDeviceName));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ViewReconnect, GoodbyeIsNotRetriedCloseStopsTheRetriesAndAFailedConnectIsOnlyTold) {
    StartQuickView();
    ConnectWithPanel({Button(1, u"One")});
    Send(ksv::EncodeBareFrame(ksv::kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([this] { return !view->IsConnected(); }));
    EXPECT_FALSE(view->IsReconnecting());

    ConnectWithPanel({Button(1, u"One")});
    device.HangUp();
    ASSERT_TRUE(WaitFor([this] { return view->IsReconnecting(); }));
    Click(ViewButton(IDC_BTN_EXIT));
    EXPECT_FALSE(view->IsReconnecting());
    EXPECT_FALSE(LineShown());
    EXPECT_EQ(quits, 0) << "the first Close only stops the retries";

    // The user's own Connect to the device still away is refused once, and not retried.
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_TRUE(WaitFor([this] { return !messages.empty(); }));
    EXPECT_TRUE(messages[0].startsWith("Unable to connect to COM7:")) << messages[0].toStdString();
    EXPECT_FALSE(view->IsConnected());
    EXPECT_FALSE(view->IsReconnecting());
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isEnabled());
}

TEST_F(ViewReconnect, TurnedOffALostLinkOnlyEndsTheSessionSilently) {
    StartQuickView();
    ASSERT_TRUE(view->IsCommandChecked(ID_RECONNECT_AUTOMATICALLY));
    view->OnMenuCommand(ID_RECONNECT_AUTOMATICALLY);
    EXPECT_FALSE(view->IsCommandChecked(ID_RECONNECT_AUTOMATICALLY));
    EXPECT_EQ(settings.GetProfileInt(ksv::kGlobalSection, "m_AutoReconnect", -1), 0);

    ConnectWithPanel({Button(1, u"One")});
    device.HangUp();
    ASSERT_TRUE(WaitFor([this] { return !view->IsConnected(); }));
    EXPECT_FALSE(view->IsReconnecting());
    EXPECT_EQ(view->ControlCount(), 0u);
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_TRUE(messages.empty());
}

} // namespace

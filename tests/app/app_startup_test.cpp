#include "app/kestrovane_app.h"
#include "app/main_frame.h"
#include "app/zoom_controller.h"
#include "controls/ctrl.h"
#include "link/device_encoder.h"
#include "link/frame.h"
#include "platform/qt/gui_error_reporter.h"
#include "platform/qt/message_box_count.h"
#include "resources/resource_ids.h"
#include "temp_config.h"
#include "tests/support/pty_device.h"
#include "view/kestrovane_view.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

namespace {

constexpr int kOutboundPort = 7;

class AppStartup : public ::testing::Test {
protected:
    void SetUp() override {
        config.Preset("[Kestrovane]\nm_iComOutGoing=7\nm_iComIncoming=5\n");
        OpenMessageBoxCount() = 3; // left over from an earlier run of the loop
    }

    void Start() {
        app = std::make_unique<CKestrovaneApp>(AppEnvironment{
            config.Path(), QStringLiteral("/opt/panels/Remote.exe"), device.Paths()});
        ASSERT_TRUE(app->InitInstance());
        app->Reporter()->SetPresenter(
            [this](ksv::GuiErrorReporter::Kind, const QString& text) { reports.push_back(text); });
        app->Reporter()->SetQuitHandler([this] { quitRequested = true; });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        app->Zoom()->SetQuestionHook([this](const QString& text) {
            questions.push_back(text);
            return answerYes;
        });
        app->Zoom()->SetRestartHandler([this](int quarters) { restarts.push_back(quarters); });
    }

    bool IsEnabled(int commandId) const {
        return app->MainFrame()->MenuAction(commandId)->isEnabled();
    }

    void ConnectTo(const std::u16string& deviceName) {
        QTest::mouseClick(ViewButton(IDC_BTN_CONNECT), Qt::LeftButton);
        ASSERT_EQ(NextHandheldKind(), ksv::kMsgHello);
        device.Write(ksv::EncodeHelloReply(deviceName, false, ksv::kHelloPingsOff).Frame());
        const QString title = QString::fromStdU16String(deviceName);
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->MainFrame()->windowTitle() == title; }, 5000))
            << app->MainFrame()->windowTitle().toStdString();
    }

    QPushButton* ViewButton(int id) const {
        const CCtrl* button = app->View()->ViewButton(id);
        return button == nullptr ? nullptr : button->m_pButton.get();
    }

    // Opens a pop-up of the menu bar so that it asks the view, then closes it.
    void OpenPopup(const QString& title) {
        for (QAction* action : app->MainFrame()->menuBar()->actions()) {
            if (action->text() != title)
                continue;
            action->menu()->popup(QPoint(0, 0));
            EXPECT_TRUE(QTest::qWaitFor([action] { return action->menu()->isVisible(); }, 2000));
            action->menu()->hide();
        }
    }

    // Kind of the next frame the handheld sent; its payload, if any, is left unread. The GUI
    // keeps running until the first byte; the rest of a frame is written whole.
    int NextHandheldKind() {
        std::optional<std::vector<uint8_t>> first;
        const bool arrived = QTest::qWaitFor(
            [&] { return (first = device.Read(1, std::chrono::milliseconds(1))).has_value(); },
            5000);
        if (!arrived)
            return -1;
        const auto rest = device.Read(ksv::kFramePrefixSize - 1);
        if (!rest)
            return -1;
        return ksv::GetU16(rest->data() + 15);
    }

    TempConfig config;
    ksv::testing::PtyDevice device{kOutboundPort};
    std::unique_ptr<CKestrovaneApp> app;
    std::vector<QString> reports;
    bool quitRequested = false;
    bool answerYes = false;
    std::vector<QString> questions;
    std::vector<int> restarts;
};

TEST_F(AppStartup, StartsWithTheViewInTheFrameAndTheProgramTitle) {
    Start();
    CMainFrame* frame = app->MainFrame();
    EXPECT_EQ(app->Title(), QStringLiteral("Remote"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Remote"));
    EXPECT_EQ(frame->centralWidget(), app->View());
    EXPECT_EQ(g_pView, app->View());
    EXPECT_EQ(OpenMessageBoxCount().load(), 0);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->View()->size() == QSize(240, 268); }, 2000));
    // The ports were preset, so the start screen is up without the port dialog.
    EXPECT_EQ(app->View()->ComOutGoing(), kOutboundPort);
    ASSERT_NE(ViewButton(IDC_BTN_CONNECT), nullptr);
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isVisible());
    EXPECT_TRUE(reports.empty());
}

TEST_F(AppStartup, TheMenuFollowsTheViewAndItsCommandsReachIt) {
    Start();
    CMainFrame* frame = app->MainFrame();
    OpenPopup("Navigation");
    for (int id : {ID_PAGE_PREVIOUS, ID_PAGE_NEXT, ID_PAGE_FIRST, ID_PAGE_LAST})
        EXPECT_FALSE(frame->MenuAction(id)->isEnabled()) << id; // no session
    EXPECT_TRUE(frame->MenuAction(ID_CLOSE)->isEnabled());

    OpenPopup("Settings");
    QAction* alwaysReload = frame->MenuAction(ID_ALWAYS_RELOAD_LAYOUT);
    EXPECT_TRUE(alwaysReload->isChecked()); // absent from the settings: 1
    EXPECT_FALSE(frame->MenuAction(ID_PINGS)->isEnabled());
    alwaysReload->trigger();
    EXPECT_TRUE(config.Contents().contains("m_AlwaysReload=0")) << config.Contents().constData();
    OpenPopup("Settings");
    EXPECT_FALSE(alwaysReload->isChecked());
}

TEST_F(AppStartup, TheDeviceNameTitlesTheFrameUntilTheSessionCloses) {
    Start();
    CMainFrame* frame = app->MainFrame();
    ConnectTo(u"Pump A");

    frame->MenuAction(ID_CLOSE)->trigger();
    EXPECT_EQ(NextHandheldKind(), ksv::kMsgGoodbyeFromHandheld);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Remote"));

    // "Close" on the start screen ends the application, through the message queue.
    EXPECT_FALSE(quitRequested);
    QTest::mouseClick(ViewButton(IDC_BTN_EXIT), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return quitRequested; }, 5000));
    EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : reports[0].toStdString());
}

TEST_F(AppStartup, ExitClosesTheDocumentAndThePortBeforeTheFrameGoes) {
    Start();
    QTest::mouseClick(ViewButton(IDC_BTN_CONNECT), Qt::LeftButton);
    ASSERT_EQ(NextHandheldKind(), ksv::kMsgHello);
    ASSERT_TRUE(app->GetLink()->IsPortOpen());
    app->ExitInstance();
    EXPECT_FALSE(app->GetLink()->IsPortOpen());
    EXPECT_EQ(app->MainFrame(), nullptr);
    EXPECT_EQ(g_pView, nullptr);
    EXPECT_EQ(app->GetLink()->OpenPort(kOutboundPort, nullptr), ksv::kNotInitialised);
}

TEST_F(AppStartup, ZoomKeysStoreTheFactorAndADeclinedRestartChangesNothingElse) {
    Start();
    CMainFrame* frame = app->MainFrame();
    OpenPopup("Settings");
    EXPECT_TRUE(IsEnabled(ID_ZOOM_IN));
    EXPECT_FALSE(IsEnabled(ID_ZOOM_OUT));
    EXPECT_FALSE(IsEnabled(ID_ZOOM_ACTUAL));

    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_Equal, Qt::ControlModifier);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains("125 %")) << questions[0].toStdString();
    EXPECT_FALSE(questions[0].contains("connection"));
    EXPECT_TRUE(config.Contents().contains("m_iZoomQuarters=5")) << config.Contents().constData();
    EXPECT_TRUE(restarts.empty());
    // The items follow at once, so the keys do too, without the pop-up opening.
    EXPECT_TRUE(IsEnabled(ID_ZOOM_OUT));
    EXPECT_TRUE(IsEnabled(ID_ZOOM_ACTUAL));

    // Back to the zoom the window runs at: stored, nothing to ask.
    QTest::keyClick(frame, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_TRUE(config.Contents().contains("m_iZoomQuarters=4"));
    EXPECT_FALSE(IsEnabled(ID_ZOOM_OUT));
    EXPECT_TRUE(ViewButton(IDC_BTN_CONNECT)->isVisible());
}

TEST_F(AppStartup, ZoomRestartClosesALiveSessionWithGoodbyeOnlyWhenTheUserAgrees) {
    Start();
    CMainFrame* frame = app->MainFrame();
    ConnectTo(u"Pump A");

    frame->MenuAction(ID_ZOOM_IN)->trigger(); // declined
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains("connection to Pump A will be closed"))
        << questions[0].toStdString();
    EXPECT_TRUE(app->View()->IsConnected());
    EXPECT_TRUE(restarts.empty());

    answerYes = true;
    frame->MenuAction(ID_ZOOM_IN)->trigger(); // the steps add up: 150 %
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_TRUE(questions[1].contains("150 %")) << questions[1].toStdString();
    // The first frame since Hello: nothing was sent while the first answer was No.
    EXPECT_EQ(NextHandheldKind(), ksv::kMsgGoodbyeFromHandheld);
    EXPECT_FALSE(app->View()->IsConnected());
    EXPECT_FALSE(app->GetLink()->IsPortOpen());
    EXPECT_EQ(restarts, std::vector<int>{6});
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Remote"));
    EXPECT_TRUE(config.Contents().contains("m_iZoomQuarters=6"));
    EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : reports[0].toStdString());
}

TEST_F(AppStartup, ClosingTheWindowDuringASessionSaysGoodbye) {
    Start();
    ConnectTo(u"Pump A");
    app->MainFrame()->close();
    app->ExitInstance();
    EXPECT_EQ(NextHandheldKind(), ksv::kMsgGoodbyeFromHandheld);
    EXPECT_FALSE(app->GetLink()->IsPortOpen());
}

// Leaving ends at once whatever the device is doing: mid-frame, mid-file, or never answering.
TEST_F(AppStartup, ExitEndsPromptlyWhileTheDeviceStallsOrIsSilent) {
    struct Case {
        const char* state;
        std::optional<ksv::DeviceMessage> cutOff; // its first 32 bytes sent, then nothing
    };
    const Case cases[] = {
        {"Hello unanswered", std::nullopt},
        {"values cut off", ksv::EncodeValues({ksv::U32Entry(9, 5), ksv::U32Entry(9, 6)})},
        {"file cut off",
         ksv::EncodeFileTransfer(8, {{u"a.bin", false, std::vector<uint8_t>(5000, 1)}})},
    };
    for (const Case& c : cases) {
        Start();
        if (c.cutOff) {
            ConnectTo(u"Pump A");
            const std::vector<uint8_t> frame = c.cutOff->Frame();
            const uint64_t before = app->GetLink()->BytesReceived();
            device.Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 32));
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return app->GetLink()->BytesReceived() == before + 32; }, 5000))
                << c.state;
        } else {
            QTest::mouseClick(ViewButton(IDC_BTN_CONNECT), Qt::LeftButton);
            ASSERT_EQ(NextHandheldKind(), ksv::kMsgHello);
        }
        const auto start = std::chrono::steady_clock::now();
        app->MainFrame()->close();
        app->ExitInstance();
        // A liveness bound well above the second the program allows itself, not a speed target.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.state;
        EXPECT_FALSE(app->GetLink()->IsPortOpen()) << c.state;
        app.reset();
        while (device.Read(1, std::chrono::milliseconds(1))) {
        }
    }
}

} // namespace

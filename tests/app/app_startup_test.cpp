#include "app/kestrovane_app.h"
#include "app/main_frame.h"
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
    QTest::mouseClick(ViewButton(IDC_BTN_CONNECT), Qt::LeftButton);
    ASSERT_EQ(NextHandheldKind(), ksv::kMsgHello);
    device.Write(ksv::EncodeHelloReply(u"Pump A", false, ksv::kHelloPingsOff).Frame());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->windowTitle() == "Pump A"; }, 5000))
        << frame->windowTitle().toStdString();

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

} // namespace

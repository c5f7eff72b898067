// "Settings > Link Monitor" in the running application: the frames of a session, live.

#include "app/kestrovane_app.h"
#include "app/main_frame.h"
#include "controls/ctrl.h"
#include "link/device_encoder.h"
#include "link/frame.h"
#include "platform/qt/gui_error_reporter.h"
#include "resources/resource_ids.h"
#include "temp_config.h"
#include "tests/support/pty_device.h"
#include "traffic/frame_summary.h"
#include "traffic/link_monitor_model.h"
#include "traffic/link_monitor_window.h"
#include "traffic/recording_reader.h"
#include "view/kestrovane_view.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Kinds(const ksv::LinkMonitorModel& model) {
    std::vector<std::string> kinds;
    for (size_t i = 0; i < model.Rows().Count(); ++i) {
        kinds.push_back(ksv::FrameKindName(model.Rows().At(i)));
    }
    return kinds;
}

TEST(LinkMonitor, ShowsTheSessionLiveWithDumpFilterPauseAndSave) {
    TempConfig config;
    config.Preset("[Kestrovane]\nm_iComOutGoing=7\nm_iComIncoming=5\n");
    ksv::testing::PtyDevice device{7};
    CKestrovaneApp app(
        AppEnvironment{config.Path(), QStringLiteral("/opt/Remote.exe"), device.Paths()});
    ASSERT_TRUE(app.InitInstance());
    std::vector<QString> reports;
    app.Reporter()->SetPresenter(
        [&](ksv::GuiErrorReporter::Kind, const QString& text) { reports.push_back(text); });

    QAction* item = app.MainFrame()->MenuAction(ID_LINK_MONITOR);
    ASSERT_NE(item, nullptr);
    item->trigger();
    ksv::LinkMonitorWindow* window = app.ShowLinkMonitor();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_FALSE(window->isModal());
    ksv::LinkMonitorModel& model = window->Model();

    QTest::mouseClick(app.View()->ViewButton(IDC_BTN_CONNECT)->m_pButton.get(), Qt::LeftButton);
    ASSERT_TRUE(device.Read(ksv::kFramePrefixSize, std::chrono::seconds(5)));
    std::vector<uint8_t> burst(37, 0x00);
    const auto hello = ksv::EncodeHelloReply(u"Pump", false, ksv::kHelloPingsOff).Frame();
    const auto values = ksv::EncodeValues({ksv::ByteEntry(0x301, 0xff)}).Frame();
    burst.insert(burst.end(), hello.begin(), hello.end());
    burst.insert(burst.end(), values.begin(), values.end());
    device.Write(burst);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() >= 4; }, 5000));
    EXPECT_EQ(Kinds(model), (std::vector<std::string>{"Hello", "Skipped", "HelloReply", "Values"}));
    EXPECT_EQ(model.data(model.index(3, ksv::LinkMonitorModel::kSummary), Qt::DisplayRole),
              QStringLiteral("Values  #0x301 = ff"));
    EXPECT_EQ(model.data(model.index(1, ksv::LinkMonitorModel::kSummary), Qt::DisplayRole),
              QStringLiteral("skipped 37 bytes"));

    window->Table().selectRow(3);
    EXPECT_TRUE(window->DumpText().contains(QStringLiteral("0000  5a e3 f1 6b 77 e4 e9 63")));
    EXPECT_TRUE(window->SelectedText().endsWith(QStringLiteral("Values  #0x301 = ff\n")));

    // Paused, the rows stay; resumed, the frames that came meanwhile follow.
    model.SetPaused(true);
    device.Write(ksv::EncodeBareFrame(ksv::kMsgNoOperation).Frame());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.Frames()->Since(0).frames.size() >= 5; }, 5000));
    window->PollNow();
    EXPECT_EQ(model.rowCount(), 4);
    model.SetPaused(false);
    window->PollNow();
    EXPECT_EQ(model.rowCount(), 5);

    model.SetFilter(QStringLiteral("Values"));
    EXPECT_EQ(Kinds(model), std::vector<std::string>{"Values"});
    model.SetFilter(QString());

    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("monitor.txt"));
    EXPECT_EQ(window->SaveTo(saved), QString());
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_TRUE(lines[4].endsWith("Values  #0x301 = ff"));
    EXPECT_FALSE(window->SaveTo(folder.filePath(QStringLiteral("missing/monitor.txt"))).isEmpty());

    window->grab().save(QDir::current().filePath(QStringLiteral("link_monitor.png")));
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(app.Frames()->Since(0).frames.empty());
    EXPECT_TRUE(reports.empty());
    app.ExitInstance();
}

} // namespace

namespace {

TEST(SessionRecording, HoldsEveryByteBothWaysAndABadPathStopsTheStart) {
    TempConfig config;
    config.Preset("[Kestrovane]\nm_iComOutGoing=7\nm_iComIncoming=5\n");
    ksv::testing::PtyDevice device{7};
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("session.rec"));
    {
        CKestrovaneApp app(AppEnvironment{config.Path(), QStringLiteral("/opt/Remote.exe"),
                                          device.Paths(), ksv::kZoomQuartersActualSize, path});
        ASSERT_TRUE(app.InitInstance());
        QTest::mouseClick(app.View()->ViewButton(IDC_BTN_CONNECT)->m_pButton.get(), Qt::LeftButton);
        ASSERT_TRUE(device.Read(ksv::kFramePrefixSize, std::chrono::seconds(5)));
        device.Write(ksv::EncodeHelloReply(u"Pump", false, ksv::kHelloPingsOff).Frame());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return app.MainFrame()->windowTitle() == QStringLiteral("Pump"); }, 5000));
        app.ExitInstance();
        EXPECT_EQ(app.RecordingFailure(), QString());
    }
    ksv::RecordingReader reader;
    ASSERT_EQ(reader.Open(path.toStdString()), ksv::RecordingReader::Status::kRecord);
    std::vector<uint8_t> sent;
    std::vector<uint8_t> received;
    ksv::RecordingEntry entry;
    std::vector<ksv::RecordType> types;
    while (reader.Next(entry) == ksv::RecordingReader::Status::kRecord) {
        types.push_back(entry.type);
        auto& into = entry.type == ksv::RecordType::kSent ? sent : received;
        into.insert(into.end(), entry.bytes.begin(), entry.bytes.end());
    }
    EXPECT_EQ(reader.Message(), "");
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), ksv::RecordType::kPortOpened);
    EXPECT_EQ(received, ksv::EncodeHelloReply(u"Pump", false, ksv::kHelloPingsOff).Frame());
    // Hello, then the Goodbye of leaving.
    const auto hello = ksv::EncodeFramePrefix(ksv::kMsgHello);
    const auto goodbye = ksv::EncodeFramePrefix(ksv::kMsgGoodbyeFromHandheld);
    std::vector<uint8_t> expected(hello.begin(), hello.end());
    expected.insert(expected.end(), goodbye.begin(), goodbye.end());
    EXPECT_EQ(sent, expected);

    CKestrovaneApp refused(AppEnvironment{config.Path(), QStringLiteral("/opt/Remote.exe"),
                                          device.Paths(), ksv::kZoomQuartersActualSize,
                                          folder.filePath(QStringLiteral("no/such/x.rec"))});
    EXPECT_FALSE(refused.InitInstance());
    EXPECT_TRUE(refused.StartupFailure().contains(QStringLiteral("no/such/x.rec")));
}

} // namespace

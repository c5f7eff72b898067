#include "platform/qt/gui_error_reporter.h"
#include "platform/qt/gui_post.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace ksv {
namespace {

using namespace std::chrono_literals;

constexpr ReportReason kReason = ReportReason::PortReadFailed;
constexpr ReportReason kMessageReason = ReportReason::PanelBrokeOff;

// What a box shows for a report of that text and reason.
QString Boxed(const QString& text, ReportReason reason = kReason) {
    return QString::fromStdU16String(ExplainedText(text.toStdU16String(), reason));
}

struct Shown {
    GuiErrorReporter::Kind kind;
    QString text;
};

// The store lock held by the receive thread while it reports: the GUI thread, in a timer tick
// like the ping timer, then wants that lock. A report that waited for the user would leave
// both threads waiting for each other.
TEST(GuiErrorReporter, AReportUnderTheStoreLockNeverBlocksTheGuiThread) {
    GuiErrorReporter reporter;
    std::vector<Shown> shown;
    reporter.SetPresenter([&](GuiErrorReporter::Kind kind, const QString& text) {
        shown.push_back({kind, text});
    });

    std::recursive_timed_mutex storeLock;
    std::atomic<bool> holding{false};
    std::atomic<bool> reported{false};
    std::atomic<bool> release{false};
    std::thread receiveThread([&] {
        std::lock_guard<std::recursive_timed_mutex> lock(storeLock);
        holding = true;
        reporter.ReportError(412, kLinkModule, -9, kReason);
        reported = true;
        // Keep the lock until the GUI thread has begun to wait for it.
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!release && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    });

    bool tickGotLock = false;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (!holding)
            return;
        tick.stop();
        release = true;
        tickGotLock = storeLock.try_lock_for(5s);
        if (tickGotLock)
            storeLock.unlock();
    });
    tick.start();

    EXPECT_TRUE(QTest::qWaitFor([&] { return tickGotLock && !shown.empty(); }, 5000));
    receiveThread.join();
    EXPECT_TRUE(reported);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, GuiErrorReporter::Kind::Error);
    EXPECT_EQ(shown[0].text, Boxed("At 412 file KsvBthPPCVComClt, val=-9"));
}

TEST(GuiErrorReporter, ReturnsBeforeTheMessageIsShownAndKeepsTheOrder) {
    GuiErrorReporter reporter;
    std::vector<Shown> shown;
    reporter.SetPresenter([&](GuiErrorReporter::Kind kind, const QString& text) {
        shown.push_back({kind, text});
    });
    reporter.ReportError(1, kViewModule, 15, kReason);
    reporter.ShowMessage(u"Data transmission error.", kMessageReason);
    reporter.ReportError(2, kCtrlModule, 0, kReason);
    EXPECT_TRUE(shown.empty()); // nothing is shown from inside the call
    EXPECT_EQ(reporter.PendingCount(), 3u);

    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.size() == 3; }, 5000));
    EXPECT_EQ(shown[0].text, Boxed("At 1 file KestrovaneView, val=15"));
    EXPECT_EQ(shown[1].kind, GuiErrorReporter::Kind::Message);
    EXPECT_EQ(shown[1].text, Boxed("Data transmission error.", kMessageReason));
    EXPECT_EQ(shown[2].text, Boxed("At 2 file CCtrl, val=0"));
}

// A presenter may run an event loop of its own; reports arriving meanwhile wait for it to
// return instead of presenting inside it.
TEST(GuiErrorReporter, APresenterRunningAnEventLoopIsNotEnteredAgain) {
    GuiErrorReporter reporter;
    int depth = 0;
    int deepest = 0;
    std::vector<QString> shown;
    std::atomic<bool> senderDone{false};
    std::thread sender;
    reporter.SetPresenter([&](GuiErrorReporter::Kind, const QString& text) {
        ++depth;
        deepest = std::max(deepest, depth);
        shown.push_back(text);
        if (shown.size() == 1) {
            sender = std::thread([&] {
                for (int i = 0; i < 5; ++i)
                    reporter.ReportError(i, kLinkModule, i, kReason);
                senderDone = true;
            });
            // The user takes a while: the nested loop serves the posted reports meanwhile.
            EXPECT_TRUE(QTest::qWaitFor([&] { return senderDone.load(); }, 5000));
            QCoreApplication::processEvents();
            EXPECT_EQ(shown.size(), 1u);
        }
        --depth;
    });
    reporter.ShowMessage(u"first", kMessageReason);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.size() == 6; }, 5000));
    if (sender.joinable())
        sender.join();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(shown.back(), Boxed("At 4 file KsvBthPPCVComClt, val=4"));
}

TEST(GuiErrorReporter, QuitComesAfterTheMessagesQueuedBeforeIt) {
    GuiErrorReporter reporter;
    std::vector<QString> events;
    reporter.SetPresenter(
        [&](GuiErrorReporter::Kind, const QString& text) { events.push_back(text); });
    reporter.SetQuitHandler([&] { events.push_back(QStringLiteral("quit")); });
    std::thread receiveThread([&] { reporter.ShowMessage(u"bye", kMessageReason); });
    receiveThread.join();
    reporter.RequestQuit();
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.size() == 2; }, 5000));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], Boxed("bye", kMessageReason));
    EXPECT_EQ(events[1], QStringLiteral("quit"));
}

TEST(GuiErrorReporter, ADestroyedReporterDropsWhatWasStillQueued) {
    int shown = 0;
    {
        GuiErrorReporter reporter;
        reporter.SetPresenter([&](GuiErrorReporter::Kind, const QString&) { ++shown; });
        reporter.ReportError(1, kLinkModule, 1, kReason);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 0);
}

std::vector<QMessageBox*> VisibleBoxes() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible())
            boxes.push_back(box);
    }
    return boxes;
}

QMessageBox* BoxWithText(const QString& text) {
    for (QMessageBox* box : VisibleBoxes()) {
        if (box->text() == text)
            return box;
    }
    return nullptr;
}

// A flood used to queue one modal box per report, each in its own nested event loop.
TEST(GuiErrorReporter, RepeatsCountInTheirOneBoxAndAFloodStaysBounded) {
    GuiErrorReporter reporter;
    std::thread receiveThread([&] {
        for (int i = 0; i < 12; ++i)
            reporter.ReportError(7, kLinkModule, -1, kReason);
        for (long value = 0; value < 100; ++value)
            reporter.ReportError(8, kLinkModule, value, kReason);
    });
    receiveThread.join();
    EXPECT_LE(reporter.PendingCount(), ReportQueue::kMaxWaitingErrors);

    const QString repeated = QStringLiteral("At 7 file KsvBthPPCVComClt, val=-1");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return BoxWithText(Boxed(repeated + " (12 times)")); }, 5000));
    EXPECT_EQ(VisibleBoxes().size(), ReportQueue::kMaxOnScreen);
    reporter.ReportError(7, kLinkModule, -1, kReason);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return BoxWithText(Boxed(repeated + " (13 times)")); }, 5000));
    EXPECT_EQ(VisibleBoxes().size(), ReportQueue::kMaxOnScreen);

    // A dismissed box makes room for the oldest text waiting.
    BoxWithText(Boxed(repeated + " (13 times)"))->accept();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return BoxWithText(Boxed("At 8 file KsvBthPPCVComClt, val=3")); }, 5000));
    EXPECT_EQ(VisibleBoxes().size(), ReportQueue::kMaxOnScreen);
}

// The flood of distinct errors neither crowds out the user's message nor delays the quit
// past the reports made before it.
TEST(GuiErrorReporter, QuitWaitsForTheBoxesReportedBeforeIt) {
    GuiErrorReporter reporter;
    bool quit = false;
    reporter.SetQuitHandler([&] { quit = true; });
    for (long value = 0; value < 50; ++value)
        reporter.ReportError(9, kLinkModule, value, kReason);
    reporter.ShowMessage(u"Bluetooth driver error", kMessageReason);
    reporter.RequestQuit();
    std::vector<QString> seen;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!quit && std::chrono::steady_clock::now() < deadline) {
        static_cast<void>(QTest::qWaitFor([&] { return quit || !VisibleBoxes().empty(); }, 1000));
        for (QMessageBox* box : VisibleBoxes()) {
            seen.push_back(box->text());
            box->accept();
        }
    }
    EXPECT_TRUE(quit);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), Boxed("Bluetooth driver error", kMessageReason));
}

// The specified text stays first and whole; the sentence follows it in the box and on stderr.
TEST(GuiErrorReporter, EachReportCarriesTheSentenceOfItsReason) {
    struct Case {
        ReportReason reason;
        long value;        // an internal error with this value, line 3
        const char* text;  // a user message when value is 0
        const char* shown; // the specified text
        const char* sentencePart;
    };
    const Case cases[] = {
        {ReportReason::UnknownMessageKind, -1, nullptr, "At 3 file KsvBthPPCVComClt, val=-1",
         "kind this program does not know"},
        {ReportReason::FileNotSaved, -10, nullptr, "At 3 file KsvBthPPCVComClt, val=-10",
         "cannot be written"},
        {ReportReason::FileNameRefused, -10, nullptr, "At 3 file KsvBthPPCVComClt, val=-10",
         "name that cannot be used"},
        {ReportReason::ImageTooLarge, 0, "Bluetooth driver error", "Bluetooth driver error",
         "picture"},
        {ReportReason::PanelBrokeOff, 0, "Data transmission error.", "Data transmission error.",
         "connect again"},
    };
    for (const Case& c : cases) {
        GuiErrorReporter reporter;
        QString shown;
        reporter.SetPresenter([&](GuiErrorReporter::Kind, const QString& text) { shown = text; });
        testing::internal::CaptureStderr();
        if (c.text != nullptr)
            reporter.ShowMessage(QString::fromLatin1(c.text).toStdU16String(), c.reason);
        else
            reporter.ReportError(3, kLinkModule, c.value, c.reason);
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000)) << c.shown;
        EXPECT_TRUE(shown.startsWith(QString::fromLatin1(c.shown) + "\n\n")) << c.shown;
        EXPECT_TRUE(shown.contains(QString::fromLatin1(c.sentencePart))) << c.shown;
        EXPECT_NE(err.find(c.shown), std::string::npos) << err;
        EXPECT_NE(err.find(c.sentencePart), std::string::npos) << err;
    }
}

TEST(PostToGui, RunsTheTaskOnTheContextsThreadLater) {
    QObject context;
    std::atomic<bool> ran{false};
    std::thread::id ranOn;
    std::thread poster([&] {
        PostToGui(&context, [&] {
            ranOn = std::this_thread::get_id();
            ran = true;
        });
    });
    poster.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran.load(); }, 5000));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

} // namespace
} // namespace ksv

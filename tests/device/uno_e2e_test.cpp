// End to end: the Uno example on an emulated ATmega328P, the real view and link connecting to
// its serial port through a ports-folder entry. A tap on the "LED" latch reaches the firmware,
// and the "Status" text it sends back shows.
#include "emulated_uno.h"

#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "resources/resource_ids.h"
#include "tests/view/recording_reporter.h"
#include "view/kestrovane_view.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace ksv::device_testing {
namespace {

constexpr int kPort = 7;
constexpr uint32_t kControls = 10; // the example's panel

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

class UnoEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string missing = EmulatedUno::MissingTools();
        if (!missing.empty()) {
            GTEST_SKIP() << "not installed: " << missing;
        }
        char root[] = "/tmp/ksvd-uno-XXXXXX";
        ASSERT_NE(mkdtemp(root), nullptr);
        m_root = root;
        std::string error;
        ASSERT_TRUE(uno.Start(KSV_SOURCE_DIR, m_root + "/firmware", error)) << error;
        std::filesystem::create_directories(m_root + "/ports");
        std::filesystem::create_symlink(uno.SerialPath(),
                                        m_root + "/ports/COM" + std::to_string(kPort));

        settings.WriteProfileInt(kGlobalSection, "m_iComOutGoing", kPort);
        settings.WriteProfileInt(kGlobalSection, "m_iComIncoming", 9);
        // The recommended layout counts as fetched: no rebuild of the panel under the test's taps.
        settings.WriteProfileInt(kGlobalSection, "m_AlwaysReload", 0);
        settings.WriteProfileInt(u"Uno", DeviceKey(0, 0), 1);
        link = std::make_unique<Link>(settings, reporter,
                                      LinkPaths{m_root + "/ports", m_root + "/files"});
        link->LinkInit();
        view = std::make_unique<CKestrovaneView>(*link, settings, reporter,
                                                 QStringLiteral("kestrovane"));
        view->SetMessageBoxHook([this](const QString& text, bool) { messages.push_back(text); });
        view->resize(CKestrovaneView::kReferenceWidth, CKestrovaneView::kLayoutHeight);
        view->show();
        view->OnInitialUpdate();
    }

    void TearDown() override {
        view.reset();
        if (link) {
            link->LinkTerm();
        }
        if (!m_root.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_root, ignored);
        }
    }

    QString StatusText() const {
        const CCtrl* status = view->Control(1);
        return status == nullptr || !status->m_pValueWnd ? QString() : status->m_pValueWnd->text();
    }

    EmulatedUno uno;
    MemorySettingsStore settings;
    RecordingReporter reporter;
    std::unique_ptr<Link> link;
    std::unique_ptr<CKestrovaneView> view;
    std::vector<QString> messages;

private:
    std::string m_root;
};

TEST_F(UnoEndToEnd, LatchTapReachesTheFirmwareAndItsStatusComesBack) {
    const CCtrl* connect = view->ViewButton(IDC_BTN_CONNECT);
    ASSERT_NE(connect, nullptr);
    QTest::mouseClick(connect->m_pButton.get(), Qt::LeftButton);
    ASSERT_TRUE(
        WaitFor([this] { return view->ControlCount() == kControls; }, std::chrono::seconds(20)))
        << "no panel from the emulated Uno; messages: " << messages.size();
    EXPECT_EQ(StatusText(), QString("LED off"));

    for (const char* expected : {"LED on", "LED off"}) {
        const CCtrl* led = view->Control(0);
        ASSERT_TRUE(led != nullptr && led->m_pButton);
        EXPECT_EQ(led->m_pButton->text(), QString("LED"));
        QTest::mouseClick(led->m_pButton.get(), Qt::LeftButton);
        EXPECT_TRUE(WaitFor([&] { return StatusText() == expected; }, std::chrono::seconds(15)))
            << "status: " << StatusText().toStdString() << ", expected " << expected;
    }
    EXPECT_TRUE(reporter.Reports().empty());
}

} // namespace
} // namespace ksv::device_testing

// Prints what 10 LayoutEntries floods of 100 000 fresh keys each cost the real view and link on
// a pseudo-terminal, with the settings in an INI file as in the application: per message the
// time from its last byte written to the panel rebuilt, the settings file's size and the RSS.
// Half the keys name controls the panel does not have, half attributes no control has.
// Targets: settings file < 5 MB, RSS < 100 MB.
#include "bench/chaos/process_figures.h"
#include "link/device_encoder.h"
#include "link/link.h"
#include "platform/layout/layout_attributes.h"
#include "platform/qt/qt_settings_store.h"
#include "resources/resource_ids.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "view/kestrovane_view.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kControls = 20;
constexpr uint32_t kFloods = 10;
constexpr uint32_t kKeysPerFlood = 100000;

bool Spin(const std::function<bool()>& done, std::chrono::seconds deadline) {
    const auto end = Clock::now() + deadline;
    while (!done()) {
        if (Clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

double Megabytes(uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::vector<uint8_t> Flood(uint32_t flood) {
    std::vector<ksv::LayoutEntry> entries;
    for (uint32_t i = 0; i < kKeysPerFlood; ++i) {
        const uint32_t fresh = flood * kKeysPerFlood + i;
        if (i % 2 == 0) {
            entries.push_back({kControls + 1 + fresh, ksv::kAttrX, i});
        } else {
            entries.push_back({1 + i % kControls, 0x10000 + fresh, i});
        }
    }
    return ksv::EncodeLayoutEntries(entries).Frame();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Kestrovane/Kestrovane.conf"));
    ksv::QtSettingsStore settings(file);
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 7);
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", 9);
    ksv::testing::PtyDevice device(7);
    ksv::testing::ThreadSafeReporter reporter;
    ksv::Link link(settings, reporter, device.Paths());
    link.LinkInit();
    auto view = std::make_unique<CKestrovaneView>(link, settings, reporter, "kestrovane");
    view->show();
    view->OnInitialUpdate();

    view->ViewButton(IDC_BTN_CONNECT)->m_pButton->click();
    device.Read(20);
    device.Write(ksv::EncodeHelloReply(u"Flood", false, ksv::kHelloPingsOff).Frame());
    std::vector<ksv::DeviceControl> panel;
    for (uint32_t id = 1; id <= kControls; ++id) {
        panel.push_back(ksv::DeviceControl('B', 0, id).ValueByte(0).Caption(u"Button"));
    }
    device.Write(ksv::EncodePanelDescription(panel).Frame());
    if (!Spin([&] { return view->ControlCount() == kControls; }, std::chrono::seconds(10))) {
        std::fprintf(stderr, "the panel did not arrive\n");
        return 1;
    }
    Spin([] { return false; }, std::chrono::seconds(1));
    device.Drain();

    std::printf("%u LayoutEntries floods of %u fresh keys, panel of %u buttons\n", kFloods,
                kKeysPerFlood, kControls);
    double worstMs = 0;
    uint64_t worstRss = 0;
    for (uint32_t flood = 0; flood < kFloods; ++flood) {
        const std::vector<uint8_t> frame = Flood(flood);
        const CCtrl* built = view->Control(0);
        std::atomic<bool> written{false};
        Clock::time_point writtenAt;
        std::thread writer([&] {
            device.Write(frame);
            writtenAt = Clock::now();
            written = true;
        });
        const bool rebuilt = Spin([&] { return written.load() && view->Control(0) != built; },
                                  std::chrono::seconds(120));
        writer.join();
        const double ms =
            std::chrono::duration<double, std::milli>(Clock::now() - writtenAt).count();
        const uint64_t rss = ksv::chaos::MeasureProcess().rssBytes;
        worstMs = std::max(worstMs, ms);
        worstRss = std::max(worstRss, rss);
        std::printf("  message %2u: handled in %8.1f ms%s, settings file %7.1f KB, RSS %6.1f MB\n",
                    flood + 1, ms, rebuilt ? "" : " (NOT rebuilt)",
                    static_cast<double>(QFileInfo(file).size()) / 1024.0, Megabytes(rss));
        std::fflush(stdout);
    }
    const double fileMb = Megabytes(static_cast<uint64_t>(QFileInfo(file).size()));
    std::printf("settings file %.2f MB (target < 5 MB: %s), RSS at most %.1f MB (target < 100 MB: "
                "%s), handling at most %.1f ms per message\n",
                fileMb, fileMb < 5 ? "met" : "MISSED", Megabytes(worstRss),
                Megabytes(worstRss) < 100 ? "met" : "MISSED", worstMs);
    view.reset();
    link.LinkTerm();
    return 0;
}

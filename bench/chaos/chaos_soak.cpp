// Soaks the receive path and the real panel view (offscreen) against a hostile device on a
// pseudo-terminal for a given time, and prints what the handheld went through and what it held:
//
//   kestrovane-chaos [seconds [seed]]
//
// Exits 1 when the GUI thread was ever blocked for 100 ms or more, a file landed outside the
// files folder, or file descriptors or threads were left over.
#include "chaos_device.h"
#include "process_figures.h"

#include "link/link.h"
#include "platform/qt/child_window.h"
#include "platform/qt/gui_error_reporter.h"
#include "platform/qt/qt_settings_store.h"
#include "resources/resource_ids.h"
#include "view/kestrovane_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPixmapCache>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr int kPort = 8;
constexpr int kProbeMs = 5;
constexpr int kDriveMs = 100;
constexpr qint64 kBlockLimitMs = 100;

// Measures how late the GUI thread serves a fine timer: the longest it was kept from its loop.
class GuiStallMeter {
public:
    GuiStallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    }
    void Start() {
        m_clock.start();
        m_timer.start(kProbeMs);
    }
    void Stop() { m_timer.stop(); }
    double MaxBlockedMs() const { return m_maxLateNs / 1e6; }
    int LongBlocks() const { return m_longBlocks; }
    double WorstAtSeconds() const { return m_worstAtNs / 1e9; }

private:
    void Tick() {
        const qint64 elapsed = m_clock.nsecsElapsed();
        m_clock.restart();
        m_runNs += elapsed;
        const qint64 late = elapsed - qint64{kProbeMs} * 1000000;
        if (late > m_maxLateNs) {
            m_maxLateNs = late;
            m_worstAtNs = m_runNs;
        }
        m_longBlocks += late >= kBlockLimitMs * 1000000 ? 1 : 0;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_maxLateNs = 0;
    qint64 m_runNs = 0;
    qint64 m_worstAtNs = 0;
    int m_longBlocks = 0;
};

// Plays the user: connects whenever the view is back on its start screen, and now and then
// changes a value, which the link reports at once.
class SessionDriver {
public:
    SessionDriver(CKestrovaneView& view, ksv::Link& link, uint32_t seed)
        : m_view(view), m_link(link), m_random(seed) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Drive(); });
    }
    void Start() { m_timer.start(kDriveMs); }
    void Stop() { m_timer.stop(); }
    uint64_t Sessions() const { return m_sessions; }

private:
    void Drive() {
        if (!m_view.IsConnected()) {
            m_view.OnCommand(IDC_BTN_CONNECT, ksv::qt::kNotifyClicked, nullptr);
            m_sessions += m_view.IsConnected() ? 1 : 0;
            return;
        }
        if (m_random() % 4 != 0) {
            return;
        }
        const int32_t level = static_cast<int32_t>(m_random() % 1000);
        m_link.Store().SetControlValue(ksv::chaos::kIdNumber, &level, sizeof level);
        m_link.SendChangedValues();
    }

    CKestrovaneView& m_view;
    ksv::Link& m_link;
    std::mt19937 m_random;
    QTimer m_timer;
    uint64_t m_sessions = 0;
};

void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double Megabytes(uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::string MakeRoot() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/ksv-chaos-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    return pattern;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const uint32_t seed = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10))
                                   : std::random_device{}();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    const std::string root = MakeRoot();
    const ksv::LinkPaths paths{root + "/ports", root + "/files"};
    const std::string outside = root + "/outside";
    std::filesystem::create_directories(outside);
    std::filesystem::create_directories(paths.filesRoot + "/Chaos");
    std::filesystem::create_directory_symlink(outside, paths.filesRoot + "/Chaos/" +
                                                           ksv::chaos::kTrapFolder);
    // The reports of a hostile session run to thousands of lines: keep them beside the run.
    if (!std::freopen((root + "/stderr.log").c_str(), "w", stderr)) {
        return 2;
    }

    ksv::QtSettingsStore settings(QString::fromStdString(root + "/settings.conf"));
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", kPort);
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", kPort + 1);
    ksv::GuiErrorReporter reporter;
    uint64_t reportsShown = 0;
    reporter.SetPresenter([&](ksv::GuiErrorReporter::Kind, const QString&) { ++reportsShown; });
    reporter.SetQuitHandler([] {});
    ksv::Link link(settings, reporter, paths);
    link.LinkInit();
    uint64_t userMessages = 0;
    auto view =
        std::make_unique<CKestrovaneView>(link, settings, reporter, QStringLiteral("kestrovane"));
    view->SetMessageBoxHook([&](const QString&, bool) { ++userMessages; });
    view->SetComPortDialogHook([](ComPortValues&) { return false; });
    view->SetPingDialogHook([](PingValues&) { return false; });
    view->OnInitialUpdate();
    view->show();
    RunEventsFor(200);

    // Taken before the device exists, and again after it is gone. The style's pixmap cache
    // (bounded by QPixmapCache::cacheLimit) fills with every size a layout gives a button.
    QPixmapCache::clear();
    const ksv::chaos::ProcessFigures start = ksv::chaos::MeasureProcess();
    ksv::chaos::ChaosDevice device(kPort, paths.portsFolder, seed);
    device.Start();

    std::printf("chaos soak: %d s, seed %u\n", seconds, seed);
    GuiStallMeter meter;
    SessionDriver driver(*view, link, seed + 1);
    meter.Start();
    driver.Start();
    for (int minute = 1; minute * 60 < seconds; ++minute) {
        RunEventsFor(60000);
        QPixmapCache::clear();
        std::printf("  %4d s: sessions %llu, frames %llu, faults %llu, GUI blocked at most %.1f ms,"
                    " RSS %.1f MB\n",
                    minute * 60, static_cast<unsigned long long>(driver.Sessions()),
                    static_cast<unsigned long long>(device.Counts().frames.load()),
                    static_cast<unsigned long long>(device.Counts().faults.load()),
                    meter.MaxBlockedMs(), Megabytes(ksv::chaos::MeasureProcess().rssBytes));
        std::fflush(stdout);
    }
    RunEventsFor((seconds % 60 == 0 && seconds > 0 ? 60 : seconds % 60) * 1000);
    driver.Stop();
    if (view->IsConnected()) {
        view->OnCommand(IDC_BTN_CLOSE, ksv::qt::kNotifyClicked, nullptr);
    }
    meter.Stop();
    device.Stop();
    RunEventsFor(500);
    QPixmapCache::clear();
    const ksv::chaos::ProcessFigures end = ksv::chaos::MeasureProcess();
    const size_t escaped = ksv::chaos::CountFiles(outside);

    const ksv::chaos::ChaosCounts& counts = device.Counts();
    std::printf("sessions %llu, frames %llu, faults injected %llu (Hellos %llu, pings left "
                "unanswered %llu, reports %llu, messages %llu)\n",
                static_cast<unsigned long long>(driver.Sessions()),
                static_cast<unsigned long long>(counts.frames.load()),
                static_cast<unsigned long long>(counts.faults.load()),
                static_cast<unsigned long long>(counts.hellos.load()),
                static_cast<unsigned long long>(counts.pingsIgnored.load()),
                static_cast<unsigned long long>(reportsShown),
                static_cast<unsigned long long>(userMessages));
    std::printf("GUI thread blocked at most %.1f ms, %.1f s in (%d times 100 ms or more)\n",
                meter.MaxBlockedMs(), meter.WorstAtSeconds(), meter.LongBlocks());
    std::printf("RSS start %.1f MB, end %.1f MB (pixmap cache emptied, freed heap trimmed)\n",
                Megabytes(start.rssBytes), Megabytes(end.rssBytes));
    std::printf("file descriptors start %zu, end %zu; threads start %zu, end %zu\n",
                start.fileDescriptors, end.fileDescriptors, start.threads, end.threads);
    std::printf("files written outside the folder: %zu\n", escaped);

    view.reset();
    link.LinkTerm();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    const bool sound = meter.LongBlocks() == 0 && escaped == 0 &&
                       end.fileDescriptors == start.fileDescriptors && end.threads == start.threads;
    return sound ? 0 : 1;
}

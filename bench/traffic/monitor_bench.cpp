// Prints what the Link Monitor costs: the process's CPU time while a device streams 4000 small
// Values frames a second, with no tap on the link, with the monitor's ring capturing but its
// window closed, and with the window open and following (offscreen). Arrivals are posted to the
// GUI thread, which restarts the receiver, as the view does.
#include "link/device_encoder.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "traffic/frame_ring.h"
#include "traffic/link_monitor_model.h"
#include "traffic/link_monitor_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFramesPerSecond = 4000;
constexpr int kBatchesPerSecond = 100; // the device writes every 10 ms
constexpr auto kMeasure = std::chrono::seconds(4);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Restarts the receiver on the GUI thread after each arrival, as the view does.
class GuiRestart : public ksv::ArrivalSink {
public:
    explicit GuiRestart(ksv::Link& link) : m_link(link) {}
    void PostArrival() override {
        ++arrivals;
        QMetaObject::invokeMethod(
            qApp, [this] { m_link.StartReceiver(this); }, Qt::QueuedConnection);
    }
    std::atomic<uint64_t> arrivals{0};

private:
    ksv::Link& m_link;
};

// Runs the GUI's event loop for `ms`, as the application does (no polling sleeps).
void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figures {
    double cpuPercent = 0;
    double framesPerSecond = 0;
};

enum class Setup { kNoTap, kRingOnly, kWindowOpen };

Figures Run(Setup setup) {
    ksv::testing::PtyDevice device;
    ksv::MemorySettingsStore settings;
    ksv::testing::ThreadSafeReporter reporter;
    ksv::FrameRing ring;
    ksv::Link link(settings, reporter, device.Paths());
    if (setup != Setup::kNoTap) {
        link.SetTap(&ring);
    }
    link.LinkInit();
    GuiRestart sink(link);
    std::unique_ptr<ksv::LinkMonitorWindow> window;
    if (setup == Setup::kWindowOpen) {
        window = std::make_unique<ksv::LinkMonitorWindow>(ring);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) {
            std::printf("  the window was not shown\n");
        }
    }
    link.OpenPort(device.PortNumber(), &sink);
    device.Read(ksv::kFramePrefixSize);

    std::vector<uint8_t> batch;
    for (int i = 0; i < kFramesPerSecond / kBatchesPerSecond; ++i) {
        const auto frame =
            ksv::EncodeValues({ksv::ByteEntry(0x300 + i, static_cast<uint8_t>(i))}).Frame();
        batch.insert(batch.end(), frame.begin(), frame.end());
    }
    std::atomic<bool> stop{false};
    std::atomic<bool> stopped{false};
    std::thread writer([&] {
        auto next = Clock::now();
        while (!stop) {
            device.Write(batch);
            next += std::chrono::milliseconds(1000 / kBatchesPerSecond);
            std::this_thread::sleep_until(next);
        }
        stopped = true;
    });
    RunEventsFor(500); // settle
    const double cpuBefore = CpuSeconds();
    const uint64_t arrivalsBefore = sink.arrivals;
    const auto start = Clock::now();
    RunEventsFor(static_cast<int>(std::chrono::milliseconds(kMeasure).count()));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    Figures figures{100.0 * (CpuSeconds() - cpuBefore) / seconds,
                    (sink.arrivals - arrivalsBefore) / seconds};
    stop = true;
    // The writer may wait for room in the line: the receiver goes on until it is done.
    const bool done = QTest::qWaitFor([&] { return stopped.load(); }, 10000);
    writer.join();
    if (!done) {
        std::printf("  the writer did not stop in time\n");
    }
    if (window) {
        std::printf("  (window showed %d rows)\n", window->Model().rowCount());
    }
    link.ClosePort();
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("link monitor at %d Values frames/s over a pseudo-terminal, %lld s each\n",
                kFramesPerSecond, static_cast<long long>(kMeasure.count()));
    const Figures none = Run(Setup::kNoTap);
    const Figures ring = Run(Setup::kRingOnly);
    const Figures open = Run(Setup::kWindowOpen);
    std::printf("  no tap:              %5.1f %% of a core, %6.0f frames/s\n", none.cpuPercent,
                none.framesPerSecond);
    std::printf("  monitor closed:      %5.1f %% of a core, %6.0f frames/s\n", ring.cpuPercent,
                ring.framesPerSecond);
    std::printf("  monitor open:        %5.1f %% of a core, %6.0f frames/s\n", open.cpuPercent,
                open.framesPerSecond);
    std::printf("  open minus closed:   %5.1f %% of a core (target: at most 10)\n",
                open.cpuPercent - ring.cpuPercent);
    return 0;
}

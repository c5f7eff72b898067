// What hostile panels cost the real view (offscreen, a device on a pseudo-terminal). Each case
// runs in a process of its own, so that its peak RSS is its own:
//
//   ksv_bench_screen [sections|pictures|flood|caption]
//
// sections: 65 535 section records; pictures: 500 truncated 4096 x 4096 GIFs; flood: 500 GIFs
// of 1024 x 1024 whose data fills every pixel; caption: a button with a 4 MiB caption. Each
// prints the longest the GUI thread was kept from its event loop while the panel arrived and
// was shown, the peak RSS, and the time to tear the session down as closing the window does.

#include "link/device_encoder.h"
#include "link/link.h"
#include "link/panel_budget.h"
#include "platform/memory_settings_store.h"
#include "resources/resource_ids.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "view/kestrovane_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using ksv::DeviceControl;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

long PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The longest the GUI thread was late for a 2 ms timer.
class BlockMeter {
public:
    BlockMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed() / 1e6 - 2.0);
            m_clock.restart();
        });
        m_clock.start();
        m_timer.start(2);
    }
    double LongestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longest = 0;
};

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

// A picture of the size declared whose data stops after two pixels.
std::vector<uint8_t> TruncatedGif(int width, int height) {
    std::vector<uint8_t> gif = {'G',
                                'I',
                                'F',
                                '8',
                                '9',
                                'a',
                                uint8_t(width),
                                uint8_t(width >> 8),
                                uint8_t(height),
                                uint8_t(height >> 8),
                                0x81,
                                0,
                                0};
    gif.insert(gif.end(), 12, 0x80);
    gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                           uint8_t(height >> 8), 0, 2, 2, 0x8C, 0x00});
    return gif;
}

// A one-colour picture whose data fills every pixel: each code one pixel longer than the last.
std::vector<uint8_t> SolidGif(int width, int height) {
    std::vector<uint8_t> gif = TruncatedGif(width, height);
    gif.resize(gif.size() - 3);
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    int bitCount = 0;
    int codeSize = 3;
    const auto put = [&](uint32_t code) {
        bits |= code << bitCount;
        for (bitCount += codeSize; bitCount >= 8; bitCount -= 8, bits >>= 8) {
            bytes.push_back(uint8_t(bits));
        }
    };
    put(4);
    put(1);
    uint32_t next = 6;
    size_t length = 1;
    for (size_t written = 1; written < size_t(width) * size_t(height); written += length) {
        put(next);
        length += 1;
        if (++next == (1u << codeSize) && codeSize < 12) {
            ++codeSize;
        }
    }
    bytes.push_back(uint8_t(bits));
    for (size_t at = 0; at < bytes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, bytes.size() - at);
        gif.push_back(uint8_t(n));
        gif.insert(gif.end(), bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + n));
    }
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

std::vector<DeviceControl> PanelOf(const std::string& name) {
    std::vector<DeviceControl> panel;
    if (name == "sections") {
        for (uint32_t id = 1; id <= 65535; ++id) {
            panel.push_back(DeviceControl('S', 0, id).ValueByte(0).Caption(u"Section"));
        }
    } else if (name == "pictures" || name == "flood") {
        const auto gif = name == "pictures" ? TruncatedGif(4096, 4096) : SolidGif(1024, 1024);
        for (uint32_t id = 1; id <= 500; ++id) {
            panel.push_back(DeviceControl('I', 0, id).ValueBytes(gif));
        }
    } else if (name == "caption") {
        panel.push_back(
            DeviceControl('B', 0, 1).ValueByte(0).Caption(std::u16string(size_t{4} << 20, u'C')));
    }
    return panel;
}

int RunCase(const std::string& name) {
    const std::vector<DeviceControl> panel = PanelOf(name);
    if (panel.empty()) {
        std::fprintf(stderr, "unknown case %s\n", name.c_str());
        return 2;
    }
    const std::vector<uint8_t> frame = ksv::EncodePanelDescription(panel).Frame();

    ksv::testing::PtyDevice device{7};
    ksv::MemorySettingsStore settings;
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 7);
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", 9);
    settings.WriteProfileInt(ksv::kGlobalSection, "m_AlwaysReload", 0);
    ksv::testing::ThreadSafeReporter reporter;
    auto link = std::make_unique<ksv::Link>(settings, reporter, device.Paths());
    link->LinkInit();
    auto view = std::make_unique<CKestrovaneView>(*link, settings, reporter, "kestrovane");
    int messages = 0;
    view->SetMessageBoxHook([&messages](const QString&, bool) { ++messages; });
    view->show();
    view->OnInitialUpdate();
    const long rssBefore = PeakRssMb();

    view->ViewButton(IDC_BTN_CONNECT)->m_pButton->click();
    device.Read(20);
    device.Write(ksv::EncodeHelloReply(u"Bench", false, ksv::kHelloPingsOff).Frame());
    Spin([&] { return view->IsConnected(); }, std::chrono::seconds(5));

    BlockMeter meter;
    const auto start = Clock::now();
    std::atomic<bool> written{false};
    std::thread writer([&] {
        device.Write(frame);
        written = true;
    });
    const bool built = Spin(
        [&] {
            return written &&
                   view->ControlCount() == std::min<size_t>(panel.size(), ksv::kMaxPanelControls);
        },
        std::chrono::seconds(120));
    writer.join();
    const double arrivalMs = Ms(Clock::now() - start);
    // The first page painted, then paging through a few pages and back.
    const auto paintStart = Clock::now();
    view->repaint();
    const double paintMs = Ms(Clock::now() - paintStart);
    for (int i = 0; i < 5 && view->CurrentPage() < view->LastPage(); ++i) {
        view->OnMenuCommand(ID_PAGE_NEXT);
        QCoreApplication::processEvents();
    }
    view->OnMenuCommand(ID_PAGE_FIRST);
    Spin([] { return false; }, std::chrono::seconds(1));

    std::printf("%-9s %zu controls, %zu bytes: %s in %.0f ms, %u pages, %d message(s)\n",
                name.c_str(), panel.size(), frame.size(), built ? "shown" : "NOT SHOWN", arrivalMs,
                static_cast<unsigned>(view->LastPage() + 1), messages);
    std::printf("%-9s GUI thread blocked at most %.1f ms (target < 100 ms: %s)\n", name.c_str(),
                meter.LongestMs(), meter.LongestMs() < 100 ? "met" : "MISSED");
    std::printf("%-9s peak RSS %ld MB (%ld MB before the panel; target < 200 MB: %s)\n",
                name.c_str(), PeakRssMb(), rssBefore, PeakRssMb() < 200 ? "met" : "MISSED");
    std::printf("%-9s first page repainted in %.1f ms\n", name.c_str(), paintMs);

    const auto closeStart = Clock::now();
    view.reset();
    link->LinkTerm();
    const double closeMs = Ms(Clock::now() - closeStart);
    std::printf("%-9s window closed and link ended in %.1f ms (target < 1000 ms: %s)\n",
                name.c_str(), closeMs, closeMs < 1000 ? "met" : "MISSED");
    return built ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return RunCase(argv[1]);
    }
    int failures = 0;
    for (const char* name : {"sections", "pictures", "flood", "caption"}) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            execl("/proc/self/exe", argv[0], name, static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        failures += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}

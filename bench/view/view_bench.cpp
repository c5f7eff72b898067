// Panel view timings, offscreen: start-up; a 1000-control panel of every kind from arrival to its
// first page painted; Values frames of 100 controls applied and painted, alone, and streams of
// 200 frames a second of 100 values and 4000 of one value over the pseudo-terminal; a latch tap to
// the last byte of its frame at the device; the stored layout of the 1000 controls saved to and
// loaded from a settings file, and 15 000 layout entries from the device applied with the panel
// rebuilt.

#include "link/device_encoder.h"
#include "link/link.h"
#include "platform/layout/layout_attributes.h"
#include "platform/memory_settings_store.h"
#include "platform/qt/qt_settings_store.h"
#include "resources/resource_ids.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "tools/demo-device/demo_gif.h"
#include "view/kestrovane_view.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
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

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Times each pass of the GUI over the arrivals waiting, the repaint of the page included.
class TimedView : public CKestrovaneView {
public:
    using CKestrovaneView::CKestrovaneView;
    double lastArrivalMs = 0;
    std::atomic<int> arrivals{0}; // passes
    bool repaintEach =
        true; // false: the page is painted when Qt next paints, as in the application

protected:
    bool event(QEvent* e) override {
        const uint64_t passes = ArrivalPasses();
        const auto start = Clock::now();
        const bool handled = CKestrovaneView::event(e);
        if (ArrivalPasses() == passes) {
            return handled;
        }
        if (repaintEach) {
            repaint();
        }
        lastArrivalMs = Ms(Clock::now() - start);
        ++arrivals;
        return handled;
    }
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

std::vector<uint8_t> I32Bytes(int32_t v) {
    std::vector<uint8_t> out;
    ksv::PutU32(out, static_cast<uint32_t>(v));
    return out;
}

// 100 rows of two series, the ring full to the cursor.
DeviceControl Matrix(uint32_t id) {
    std::vector<uint8_t> blob;
    for (int i = 0; i < 200; ++i) {
        ksv::PutU32(blob, static_cast<uint32_t>(i * 7));
    }
    ksv::PutU32(blob, 100);
    DeviceControl m('M', 0, id);
    m.ValueBytes(blob).U32('n', 100).U32('N', 2).String('F', u"%%").Caption(u"Rows");
    return m;
}

// Every kind; 50 pictures of 64 x 64 and 20 matrices of 100 rows among 1000 controls.
std::vector<DeviceControl> MixedPanel(const std::vector<uint8_t>& gif) {
    using namespace ksv;
    std::vector<DeviceControl> controls;
    const std::u16string items(u"one\0two\0three\0", 14);
    for (uint32_t id = 1; id <= 1000; ++id) {
        if (id % 20 == 0) {
            controls.push_back(DeviceControl('I', kFlagEditable, id).ValueBytes(gif));
            continue;
        }
        if (id % 50 == 7) {
            controls.push_back(Matrix(id));
            continue;
        }
        switch (id % 12) {
        case 0:
            controls.push_back(DeviceControl('T', 0, id).ValueText(u"text").U32('m', 20));
            break;
        case 1:
            controls.push_back(DeviceControl('B', 0, id).ValueByte(0).Caption(u"Button"));
            break;
        case 2:
            controls.push_back(DeviceControl('G', 0, id).ValueByte(0).Caption(u"Latch"));
            break;
        case 3:
            controls.push_back(DeviceControl('D', 0, id)
                                   .ValueBytes({1, 2, 3, 4, 5, 6, 0xD0, 0x07})
                                   .String('f', u"%HH%:%mm%"));
            break;
        case 4:
            controls.push_back(DeviceControl('N', kFlagEditable, id).ValueU32(5).U32('x', 99));
            break;
        case 5:
            controls.push_back(DeviceControl('N', 0, id).ValueU32(5).String('f', u"%% V"));
            break;
        case 6:
            controls.push_back(
                DeviceControl('L', kFlagWide, id).ValueU32(0).U32('n', 3).String('I', items));
            break;
        case 7:
            controls.push_back(DeviceControl('S', 0, id).ValueByte(0).Caption(u"Section"));
            break;
        case 8:
            controls.push_back(DeviceControl('T', kFlagEditable, id).ValueText(u"e").U32('m', 20));
            break;
        case 9:
            controls.push_back(DeviceControl('O', 0, id).ValueText(u"data").U32('m', 8));
            break;
        case 10:
            controls.push_back(DeviceControl('F', 0, id).Caption(u"File"));
            break;
        default:
            controls.push_back(DeviceControl(id % 24 == 11 ? 'X' : 'Q', kFlagHidden, id)
                                   .ValueText(u"m")
                                   .U32('m', 8));
            break;
        }
    }
    return controls;
}

// 100 new values for controls of five kinds on the panel above.
ksv::DeviceMessage MixedValues(int round) {
    std::vector<ksv::DeviceEntry> entries;
    for (uint32_t id = 1; id <= 1000 && entries.size() < 100; ++id) {
        if (id % 20 == 0 || id % 50 == 7) {
            continue;
        }
        switch (id % 12) {
        case 0:
            entries.push_back(
                ksv::TextEntry(id, u"v" + std::u16string(1, u'0' + round % 10), false, 20));
            break;
        case 2:
            entries.push_back(ksv::ByteEntry(id, round % 2 ? 0xFF : 0));
            break;
        case 3:
            entries.push_back({id, {1, 2, 3, 4, 5, 6, 0xD0, 0x07}, {}});
            break;
        case 4:
        case 5:
            entries.push_back({id, I32Bytes(round), {}});
            break;
        case 6:
            entries.push_back({id, I32Bytes(round % 3), {}});
            break;
        default:
            break;
        }
    }
    return ksv::EncodeValues(entries);
}

void Report(const char* what, std::vector<double> values, double target) {
    std::sort(values.begin(), values.end());
    const double median = values[values.size() / 2];
    std::printf("%-58s median %7.3f ms  max %7.3f ms  (target < %.0f ms: %s)\n", what, median,
                values.back(), target, median < target ? "met" : "MISSED");
}

// One session on a fresh link and view, connected and given the panel.
struct Session {
    ksv::testing::PtyDevice device{7};
    QTemporaryDir folder;
    std::unique_ptr<ksv::SettingsStore> settings;
    ksv::testing::ThreadSafeReporter reporter;
    std::unique_ptr<ksv::Link> link;
    std::unique_ptr<TimedView> view;

    // onFile: the settings go to a file, committed atomically, as in the application.
    explicit Session(bool onFile = false) {
        if (onFile) {
            settings = std::make_unique<ksv::QtSettingsStore>(
                folder.filePath(QStringLiteral("Kestrovane/Kestrovane.conf")));
        } else {
            settings = std::make_unique<ksv::MemorySettingsStore>();
        }
        settings->WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 7);
        settings->WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", 9);
        settings->WriteProfileInt(ksv::kGlobalSection, "m_AlwaysReload", 0);
        link = std::make_unique<ksv::Link>(*settings, reporter, device.Paths());
        link->LinkInit();
        view = std::make_unique<TimedView>(*link, *settings, reporter, "kestrovane");
        view->show();
        view->OnInitialUpdate();
    }
    ~Session() {
        view.reset();
        link->LinkTerm();
    }

    // Written while the GUI runs, as a real device does: the pty holds only a few kilobytes.
    bool Write(const std::vector<uint8_t>& frame) {
        std::atomic<bool> done{false};
        std::thread writer([&] {
            device.Write(frame);
            done = true;
        });
        const bool ok = Spin([&] { return done.load(); }, std::chrono::seconds(10));
        writer.join();
        return ok;
    }

    bool Connect(const std::vector<DeviceControl>& panel, double* arrivalMs, double* totalMs) {
        view->ViewButton(IDC_BTN_CONNECT)->m_pButton->click();
        device.Read(20);
        bool named = false;
        QObject::connect(view.get(), &CKestrovaneView::TitleChanged,
                         [&named](const QString& title) { named = title == "Bench"; });
        device.Write(ksv::EncodeHelloReply(u"Bench", false, ksv::kHelloPingsOff).Frame());
        Spin([&] { return named; }, std::chrono::seconds(5));
        const auto frame = ksv::EncodePanelDescription(panel).Frame();
        const auto start = Clock::now();
        const int before = view->arrivals;
        Write(frame);
        if (!Spin([&] { return view->arrivals > before && view->ControlCount() == panel.size(); },
                  std::chrono::seconds(20))) {
            return false;
        }
        if (arrivalMs) {
            *arrivalMs = view->lastArrivalMs;
        }
        if (totalMs) {
            *totalMs = Ms(Clock::now() - start);
        }
        return true;
    }
};

void BenchPanel(const std::vector<DeviceControl>& panel) {
    std::vector<double> arrivals;
    std::vector<double> totals;
    std::vector<double> startup;
    for (int run = 0; run < 7; ++run) {
        const auto start = Clock::now();
        Session session;
        startup.push_back(Ms(Clock::now() - start));
        double arrival = 0;
        double total = 0;
        if (!session.Connect(panel, &arrival, &total)) {
            std::fprintf(stderr, "the panel did not arrive\n");
            std::exit(1);
        }
        arrivals.push_back(arrival);
        totals.push_back(total);
    }
    std::printf("Panel of %zu controls of every kind (%zu bytes of description), 7 runs\n",
                panel.size(), ksv::EncodePanelDescription(panel).Frame().size());
    Report("start to start screen (link, view, buttons, settings)", startup, 300);
    Report("PanelDescription arrival handled to first page painted", arrivals, 250);
    Report("PanelDescription written by the device to first page", totals, 250);
    std::printf("%-58s %7ld MB  (target < 150 MB: %s)\n", "peak RSS after building 7 panels",
                PeakRssMb(), PeakRssMb() < 150 ? "met" : "MISSED");
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The number control whose value counts the frames of a stream: frame i sets it to i.
constexpr uint32_t kStreamedNumber = 4;

// `rate` frames a second for `seconds` from the device's own thread, each tick's frames in one
// write; the GUI thread runs a real event loop and sleeps between arrivals, as in the
// application. Frame i sets the counting number to i, so the value shown tells how far the GUI
// has got. Prints the GUI thread's share of a core and the client's (GUI and receive threads:
// the process without the device's writer).
void Stream(Session& session, int rate, int seconds,
            const std::function<std::vector<uint8_t>(int)>& frame, const char* what) {
    const int frames = rate * seconds;
    constexpr int kTickMs = 5;
    const int perTick = std::max(1, rate * kTickMs / 1000);
    const CCtrl* counter = nullptr;
    for (uint32_t i = 0; i < session.view->ControlCount(); ++i) {
        if (session.view->Control(i)->m_deviceId == kStreamedNumber) {
            counter = session.view->Control(i);
        }
    }
    std::atomic<int> written{0};
    std::atomic<double> writerCpuMs{0};
    std::thread writer([&] {
        auto next = Clock::now();
        for (int i = 0; i < frames;) {
            std::vector<uint8_t> bytes;
            for (int k = 0; k < perTick && i < frames; ++k, ++i) {
                const std::vector<uint8_t> one = frame(i);
                bytes.insert(bytes.end(), one.begin(), one.end());
            }
            session.device.Write(bytes);
            written = i;
            next += std::chrono::milliseconds(kTickMs);
            std::this_thread::sleep_until(next);
        }
        writerCpuMs = ThreadCpuMs();
    });
    const double cpuStart = ThreadCpuMs();
    const double processStart = ProcessCpuMs();
    const auto wallStart = Clock::now();
    int maxBehind = 0;
    int shown = -1;
    QEventLoop loop;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        shown = counter->m_number.m_value;
        maxBehind = std::max(maxBehind, written - (shown + 1));
        const bool done = written == frames && shown == frames - 1;
        if (done || Clock::now() - wallStart > std::chrono::seconds(seconds * 2)) {
            loop.quit();
        }
    });
    sampler.start(20); // the sampler is the bench's own load on the GUI thread: keep it light
    loop.exec();
    const double wall = Ms(Clock::now() - wallStart);
    const double cpu = ThreadCpuMs() - cpuStart;
    writer.join();
    const double client = ProcessCpuMs() - processStart - writerCpuMs;
    const double share = 100.0 * cpu / wall;
    const double clientShare = 100.0 * client / wall;
    char label[128];
    std::snprintf(label, sizeof label, "GUI thread, %s for %d s", what, seconds);
    std::printf("%-58s %7.1f %%  (target < 10 %%: %s)\n", label, share,
                share < 10 ? "met" : "MISSED");
    std::snprintf(label, sizeof label, "client (GUI + receive threads), %s", what);
    std::printf("%-58s %7.1f %%\n", label, clientShare);
    std::printf("%-58s %7d frames (shown %d of %d)\n", "most frames written and not yet shown",
                maxBehind, shown + 1, frames);
}

void BenchValues(const std::vector<DeviceControl>& panel) {
    Session session;
    if (!session.Connect(panel, nullptr, nullptr)) {
        std::exit(1);
    }
    std::vector<double> handled;
    for (int round = 0; round < 200; ++round) {
        const int before = session.view->arrivals;
        session.Write(MixedValues(round).Frame());
        Spin([&] { return session.view->arrivals > before; }, std::chrono::seconds(5));
        handled.push_back(session.view->lastArrivalMs);
    }
    Report("Values of 100 controls applied and the page repainted", handled, 2);

    session.view->repaintEach = false;
    Stream(
        session, 200, 30, [](int i) { return MixedValues(i).Frame(); },
        "200 frames/s of 100 values");
    Stream(
        session, 4000, 20,
        [](int i) {
            return ksv::EncodeValues({{kStreamedNumber, I32Bytes(i), {}}}).Frame();
        },
        "4000 frames/s of one value");
}

void BenchLatchTap() {
    Session session;
    if (!session.Connect({DeviceControl('G', 0, 1).ValueByte(0).Caption(u"Latch")}, nullptr,
                         nullptr)) {
        std::exit(1);
    }
    session.device.Drain();
    QPushButton* button = session.view->Control(0)->m_pButton.get();
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    constexpr size_t kFrameBytes = 20 + 4 + 4 + 4 + 1;
    std::vector<double> taps;
    for (int i = 0; i < 200; ++i) {
        QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        const auto start = Clock::now();
        QApplication::sendEvent(button, &press);
        QApplication::sendEvent(button, &release);
        session.device.Read(kFrameBytes);
        taps.push_back(Ms(Clock::now() - start));
        QCoreApplication::processEvents();
    }
    Report("latch tap to the last byte of its Values frame", taps, 1);
}

// Fifteen entries for each of the 1000 controls: a place by hand, size, page, fonts, label.
std::vector<ksv::LayoutEntry> HandLayout(int round) {
    std::vector<ksv::LayoutEntry> entries;
    for (uint32_t id = 1; id <= 1000; ++id) {
        const uint32_t n = id + static_cast<uint32_t>(round);
        const std::pair<uint32_t, uint32_t> values[] = {
            {ksv::kAttrX, n * 7 % 180}, {ksv::kAttrY, n * 13 % 150},     {ksv::kAttrWidth, 60},
            {ksv::kAttrHeight, 30},     {ksv::kAttrPage, id / 20},       {ksv::kAttrAppearance, 0},
            {ksv::kAttrFontHeight, 14}, {ksv::kAttrFontBold, n % 2},     {ksv::kAttrBorder, 1},
            {ksv::kAttrShowLabel, 0},   {ksv::kAttrLabelFontHeight, 12}, {ksv::kAttrLabelBold, 1},
            {ksv::kAttrAlign, 0},       {ksv::kAttrPageOpen, id / 20},   {ksv::kAttrWidthOpen, 60},
        };
        for (const auto& [attribute, value] : values) {
            entries.push_back({id, attribute, value});
        }
    }
    return entries;
}

void BenchLayout(const std::vector<DeviceControl>& panel) {
    Session session(true);
    if (!session.Connect(panel, nullptr, nullptr)) {
        std::exit(1);
    }
    std::vector<double> entriesHandled;
    std::vector<double> entriesTotal;
    for (int round = 0; round < 7; ++round) {
        const auto frame = ksv::EncodeLayoutEntries(HandLayout(round)).Frame();
        const int before = session.view->arrivals;
        const auto start = Clock::now();
        session.Write(frame);
        if (!Spin([&] { return session.view->arrivals > before; }, std::chrono::seconds(20))) {
            std::exit(1);
        }
        entriesTotal.push_back(Ms(Clock::now() - start));
        entriesHandled.push_back(session.view->lastArrivalMs);
    }

    // Every control now has a stored placement: the read takes every entry there is.
    std::vector<double> loads;
    for (int run = 0; run < 7; ++run) {
        const auto start = Clock::now();
        session.view->LoadLayout();
        loads.push_back(Ms(Clock::now() - start));
    }
    // "Pings..." with a new period each time: SaveLayout with something to write.
    std::vector<double> saves;
    bool failed = false;
    for (int run = 0; run < 7; ++run) {
        session.view->SetPingDialogHook([run](PingValues& values) {
            values = PingValues{false, 10 + run};
            return true;
        });
        const auto start = Clock::now();
        session.view->OnMenuCommand(ID_PINGS);
        saves.push_back(Ms(Clock::now() - start));
        failed |= session.settings->LastWriteFailed();
    }
    std::printf(
        "Stored layout of 1000 controls and the page bar, settings file (write failed %d)\n",
        failed ? 1 : 0);
    Report("SaveLayout, one atomic file write", saves, 50);
    Report("LoadLayout, every entry of every control", loads, 30);
    Report("LayoutEntries of 15000 handled: panel rebuilt, laid out", entriesHandled, 300);
    Report("LayoutEntries of 15000 from the device to panel shown", entriesTotal, 300);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // One part alone by name (panel, values, tap, layout), for a profiler; all of them by default.
    const std::string only = argc > 1 ? argv[1] : "";
    const auto panel = MixedPanel(ksv::demo::MakeDemoGif(64));
    if (only.empty() || only == "panel") {
        BenchPanel(panel);
    }
    if (only.empty() || only == "values") {
        BenchValues(panel);
    }
    if (only.empty() || only == "tap") {
        BenchLatchTap();
    }
    if (only.empty() || only == "layout") {
        BenchLayout(panel);
    }
    return 0;
}

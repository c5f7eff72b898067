// Panel view timings, offscreen: a 1000-control panel description from arrival to the first page
// shown, and start-up to the start screen.

#include "link/device_encoder.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "resources/resource_ids.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "view/kestrovane_view.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Times the GUI's handling of each arrival: decoding is done, the panel is built and shown.
class TimedView : public CKestrovaneView {
public:
    using CKestrovaneView::CKestrovaneView;
    double lastArrivalMs = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() != static_cast<QEvent::Type>(WM_PANEL_ARRIVAL)) {
            return CKestrovaneView::event(e);
        }
        const auto start = Clock::now();
        const bool handled = CKestrovaneView::event(e);
        lastArrivalMs = Ms(Clock::now() - start);
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

std::vector<ksv::DeviceControl> Panel(uint32_t count) {
    std::vector<ksv::DeviceControl> controls;
    for (uint32_t id = 1; id <= count; ++id) {
        if (id % 10 == 0) {
            controls.emplace_back('Q', 0, id); // a placeholder now and then
            continue;
        }
        ksv::DeviceControl button('B', 0, id);
        button.ValueByte(0).Caption(u"Button " + std::u16string(1, u'A' + id % 26));
        controls.push_back(button);
    }
    return controls;
}

struct Figures {
    double total;   // frame written by the device .. first page on screen
    double arrival; // the GUI's handling of the arrival
};

void Report(const char* what, std::vector<double> values, double target) {
    std::sort(values.begin(), values.end());
    const double median = values[values.size() / 2];
    std::printf("%-58s median %7.2f ms  max %7.2f ms  (target < %.0f ms: %s)\n", what, median,
                values.back(), target, median < target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    const auto processStart = Clock::now();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double appMs = Ms(Clock::now() - processStart);

    constexpr int kRuns = 7;
    constexpr uint32_t kControls = 1000;
    std::vector<double> startup;
    std::vector<double> totals;
    std::vector<double> arrivals;

    for (int run = 0; run < kRuns; ++run) {
        ksv::testing::PtyDevice device(7);
        ksv::MemorySettingsStore settings;
        settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 7);
        settings.WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", 9);
        settings.WriteProfileInt(ksv::kGlobalSection, "m_AlwaysReload", 0);
        ksv::testing::ThreadSafeReporter reporter;

        const auto start = Clock::now();
        ksv::Link link(settings, reporter, device.Paths());
        link.LinkInit();
        auto view = std::make_unique<TimedView>(link, settings, reporter, "kestrovane");
        view->show();
        view->OnInitialUpdate();
        const CCtrl* connect = view->ViewButton(IDC_BTN_CONNECT);
        Spin([&] { return connect->m_pButton->isVisible(); }, std::chrono::seconds(5));
        startup.push_back(Ms(Clock::now() - start));

        connect->m_pButton->click();
        device.Read(20);
        device.Write(ksv::EncodeHelloReply(u"Bench", false, ksv::kHelloPingsOff).Frame());
        const auto frame = ksv::EncodePanelDescription(Panel(kControls)).Frame();
        bool named = false;
        QObject::connect(view.get(), &CKestrovaneView::TitleChanged,
                         [&named](const QString& title) { named = title == "Bench"; });
        Spin([&] { return named; }, std::chrono::seconds(5));

        // The device writes while the GUI runs, as a real one does: the pty holds only a few
        // kilobytes.
        const auto written = Clock::now();
        std::thread writer([&device, &frame] { device.Write(frame); });
        const bool shown = Spin(
            [&] {
                const CCtrl* first = view->Control(0);
                return view->ControlCount() == kControls && first != nullptr && first->m_pButton &&
                       first->m_pButton->isVisible();
            },
            std::chrono::seconds(10));
        writer.join();
        if (!shown) {
            std::fprintf(stderr, "the panel did not arrive\n");
            return 1;
        }
        totals.push_back(Ms(Clock::now() - written));
        arrivals.push_back(view->lastArrivalMs);
        view.reset();
        link.LinkTerm();
    }

    std::printf("Panel view, offscreen, %d runs, %u controls (%zu bytes of description)\n", kRuns,
                kControls, ksv::EncodePanelDescription(Panel(kControls)).Frame().size());
    std::printf("%-58s %7.2f ms\n", "process start to application object", appMs);
    std::printf("%-58s %7.2f ms\n", "process start to first start screen", appMs + startup[0]);
    Report("start to start screen (link, view, buttons, settings)", startup, 300);
    Report("PanelDescription arrival handled to first page shown", arrivals, 150);
    Report("PanelDescription written by the device to first page", totals, 150);
    return 0;
}

// Prints how long a saved layout of 1000 controls and the five page-bar buttons takes:
//  write:      every entry written in one settings batch, including the atomic file write;
//  read warm:  read back through the store that wrote it;
//  read cold:  read back through a fresh store, including loading the file.
// Each figure is the median of several runs, with the slowest run beside it.
#include "platform/device_settings.h"
#include "platform/layout/panel_layout.h"
#include "platform/qt/qt_settings_store.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;
constexpr uint32_t kControls = 1000;

const ksv::DeviceSettings::NameSource kDeviceName = [] { return std::u16string(u"Bench Device"); };

// A layout the user arranged: every control placed by hand, every tenth a Section.
ksv::PanelLayout ArrangedLayout(int32_t seed) {
    ksv::PanelLayout panel;
    panel.device.pingSeconds = 10;
    for (uint32_t id = 1; id <= kControls; ++id) {
        ksv::StoredControl control;
        control.id = id;
        control.traits.openPlacement = id % 10 == 0;
        control.traits.lastAppearance = 3;
        control.layout.autoPlace = false;
        const int32_t n = static_cast<int32_t>(id) + seed;
        control.layout.placement = {n % 240, n % 209, 117, 57, n / 6};
        control.layout.open = {2, 2, 236, 26, n / 6};
        control.layout.fontHeight = 12 + n % 8;
        control.layout.appearance = n % 4;
        panel.controls.push_back(control);
    }
    return panel;
}

// What a read needs before it starts: the controls with their automatic values.
ksv::PanelLayout Unread(const ksv::PanelLayout& written) {
    ksv::PanelLayout panel = written;
    for (ksv::StoredControl& control : panel.controls) {
        control.layout = ksv::ControlLayout{};
    }
    return panel;
}

size_t Mismatches(const ksv::PanelLayout& read, const ksv::PanelLayout& written) {
    size_t count = 0;
    for (size_t i = 0; i < read.controls.size(); ++i) {
        const ksv::ControlLayout& a = read.controls[i].layout;
        const ksv::ControlLayout& b = written.controls[i].layout;
        const bool openDiffers =
            read.controls[i].traits.openPlacement && a.open.page != b.open.page;
        if (a.placement.x != b.placement.x || a.placement.page != b.placement.page || openDiffers ||
            a.fontHeight != b.fontHeight || a.appearance != b.appearance) {
            ++count;
        }
    }
    return count;
}

double Millis(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Print(const char* what, std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    std::printf("%-34s median %7.1f ms  slowest %7.1f ms\n", what, runs[runs.size() / 2],
                runs.back());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString file = dir.filePath(QStringLiteral("Kestrovane/Kestrovane.conf"));
    ksv::QtSettingsStore store(file);
    ksv::DeviceSettings device(store, kDeviceName);

    std::vector<double> writes, warmReads, coldReads;
    bool failed = false;
    size_t mismatches = 0;
    for (int run = 0; run < kRuns; ++run) {
        const ksv::PanelLayout written = ArrangedLayout(run);
        writes.push_back(Millis([&] { failed |= !ksv::WritePanelLayout(device, written); }));

        ksv::PanelLayout warm = Unread(written);
        warmReads.push_back(Millis([&] { ksv::ReadPanelLayout(device, warm); }));
        mismatches += Mismatches(warm, written);

        ksv::PanelLayout cold = Unread(written);
        coldReads.push_back(Millis([&] {
            ksv::QtSettingsStore fresh(file);
            ksv::DeviceSettings freshDevice(fresh, kDeviceName);
            ksv::ReadPanelLayout(freshDevice, cold);
        }));
        mismatches += Mismatches(cold, written);
    }
    std::printf("layout of %u controls + page bar, %d runs (write failed %d, mismatches %zu)\n",
                kControls, kRuns, failed ? 1 : 0, mismatches);
    Print("write, one batch, atomic file", writes);
    Print("read back, same store", warmReads);
    Print("read back, fresh store + load", coldReads);
    return failed || mismatches != 0 ? 1 : 0;
}

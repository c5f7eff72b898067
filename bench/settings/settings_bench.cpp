// Prints how long the settings file takes to absorb:
//  layout N:  a LayoutEntries message of N entries for a panel's controls decoded into a fresh
//             INI store (past 100 000 per message or per device section the rest are dropped);
//  batch:     1000 controls x 12 attributes written in one SettingsBatch, as a saved layout.
#include "link/decoders.h"
#include "link/device_encoder.h"
#include "link/memory_reader.h"
#include "link/panel_store.h"
#include "platform/device_settings.h"
#include "platform/qt/qt_settings_store.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Drops the one report a capped message makes.
class SilentReporter : public ksv::ErrorReporter {
public:
    void ReportError(long, const char*, long, ksv::ReportReason) override {}
    void ShowMessage(const std::u16string&, ksv::ReportReason) override {}
    void RequestQuit() override {}
};

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

QString FreshFile(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(QString::fromLatin1(name) + QStringLiteral("/Kestrovane.conf"));
}

// Entries as a device's recommended layout sends them: 12 attributes per control of a panel of
// buttons.
ksv::DeviceMessage LayoutMessage(uint32_t count) {
    std::vector<ksv::LayoutEntry> entries;
    for (uint32_t i = 0; i < count; ++i)
        entries.push_back({i / 12 + 1, 256 + 16 * (i % 12), i});
    return ksv::EncodeLayoutEntries(entries);
}

void BenchLayoutEntries(const QTemporaryDir& dir, uint32_t count) {
    const ksv::DeviceMessage message = LayoutMessage(count);
    const std::string name = "layout" + std::to_string(count);
    ksv::QtSettingsStore store(FreshFile(dir, name.c_str()));
    ksv::DeviceSettings device(store, [] { return std::u16string(u"Bench Device"); });
    SilentReporter reporter;
    ksv::PanelStore panel(reporter);
    std::vector<ksv::ControlRecord> controls(count / 12 + 1);
    for (uint32_t i = 0; i < controls.size(); ++i) {
        controls[i].id = i + 1;
        controls[i].kind = ksv::kRecordButton;
    }
    panel.ReplaceControls(std::move(controls));
    ksv::MemoryReader in(message.payload);
    const Clock::time_point start = Clock::now();
    const ksv::ResultCode rc = ksv::DecodeLayoutEntries(in, panel, device, reporter);
    const double millis = MillisSince(start);
    std::printf("layout %-7u entries  %8.1f ms  (result %d, write failed %d)\n", count, millis,
                static_cast<int>(rc), store.LastWriteFailed() ? 1 : 0);
}

void BenchBatch(const QTemporaryDir& dir) {
    ksv::QtSettingsStore store(FreshFile(dir, "batch"));
    ksv::DeviceSettings device(store, [] { return std::u16string(u"Bench Device"); });
    const Clock::time_point start = Clock::now();
    {
        ksv::SettingsBatch batch(store);
        for (uint32_t id = 1; id <= 1000; ++id) {
            for (uint32_t attribute = 0; attribute < 12; ++attribute)
                device.WriteDeviceInt(id, 256 + 16 * attribute, static_cast<int32_t>(id));
        }
    }
    const double millis = MillisSince(start);
    std::printf("batch  1000 x 12 writes  %8.1f ms  (write failed %d)\n", millis,
                store.LastWriteFailed() ? 1 : 0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    BenchLayoutEntries(dir, 2000);
    BenchLayoutEntries(dir, 15000);
    BenchLayoutEntries(dir, 1000000);
    BenchBatch(dir);
    return 0;
}

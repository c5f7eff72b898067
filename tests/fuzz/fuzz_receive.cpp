// Feeds an arbitrary byte stream through the receive path: marker hunt, header, dispatch and
// every decoder, run after run until the input is used up. Sends go nowhere; files go to a
// temporary folder that is emptied after each input. After every run the panel must lie within
// its budget, whatever the input announced.
#include "link/memory_reader.h"
#include "link/panel_budget.h"
#include "link/receive_run.h"
#include "platform/memory_settings_store.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class QuietReporter : public ksv::ErrorReporter {
public:
    void ReportError(long, const char*, long, ksv::ReportReason) override {}
    void ShowMessage(const std::u16string&, ksv::ReportReason) override {}
    void RequestQuit() override {}
};

class DiscardingHost : public ksv::ReceiveHost {
public:
    explicit DiscardingHost(std::string folder) : m_folder(std::move(folder)) {}
    void SendPingReply() override {}
    void SendAcknowledge() override {}
    void OnPingReply() override {}
    void OnHelloReply(const ksv::HelloReply&) override {}
    ksv::FilesPlace FilesFolder() override { return ksv::FilesPlace{m_folder, "Fuzz"}; }

private:
    std::string m_folder;
};

char g_filesFolder[] = "/tmp/ksv-fuzz-files-XXXXXX";

void RemoveFilesFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_filesFolder, ignored);
}

const char* FilesFolder() {
    static const bool made = [] {
        if (!mkdtemp(g_filesFolder)) {
            std::abort();
        }
        std::atexit(RemoveFilesFolder);
        return true;
    }();
    (void)made;
    return g_filesFolder;
}

void CheckPanelBudget(ksv::PanelStore& store) {
    const ksv::StoreLock lock(store);
    if (lock.Records().size() > ksv::kMaxPanelRecords ||
        ksv::PanelHeldBytes(lock.Records()) > ksv::kMaxPanelBytes) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietReporter reporter;
    ksv::PanelStore store(reporter);
    ksv::MemorySettingsStore settingsStore;
    ksv::DeviceSettings settings(settingsStore, [] { return std::u16string(u"Fuzz"); });
    DiscardingHost host(FilesFolder());
    ksv::ReceiveContext context{store, reporter, settings, host};

    ksv::MemoryReader in(data, size);
    while (in.Remaining() > 0) {
        const bool posted = ksv::ReceiveOneMessage(in, context).post;
        CheckPanelBudget(store);
        if (!posted) {
            break;
        }
    }
    store.DiscardControls();

    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(FilesFolder(), ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
    return 0;
}

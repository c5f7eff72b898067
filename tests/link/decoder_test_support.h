#pragma once

#include "link/decoders.h"
#include "link/device_encoder.h"
#include "link/memory_reader.h"
#include "link/panel_store.h"
#include "platform/error_reporter.h"

#include <string>
#include <vector>

namespace ksv::decoder_testing {

// Keeps every report, message and quit request for the test to look at.
class RecordingReporter : public ErrorReporter {
public:
    void ReportError(long, const char* module, long value, ksv::ReportReason) override {
        modules.push_back(module);
        values.push_back(value);
    }
    void ShowMessage(const std::u16string& text, ksv::ReportReason) override {
        messages.push_back(text);
    }
    void RequestQuit() override { ++quitRequests; }

    std::vector<std::string> modules;
    std::vector<long> values;
    std::vector<std::u16string> messages;
    int quitRequests = 0;
};

// A store and its reporter, loaded with a panel through the real decoder.
struct StoreFixture {
    RecordingReporter reporter;
    PanelStore store{reporter};

    ResultCode Load(const std::vector<DeviceControl>& controls) {
        const DeviceMessage message = EncodePanelDescription(controls);
        MemoryReader in(message.payload);
        return DecodePanelDescription(in, store, reporter);
    }

    // Tests run on one thread: the record stays valid after the lock is dropped.
    ControlRecord& Record(uint32_t id) { return *store.LockStore().FindControl(id); }
};

inline std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace ksv::decoder_testing

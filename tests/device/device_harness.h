#pragma once

#include "ksvd.h"
#include "link/decoders.h"
#include "link/memory_reader.h"
#include "link/panel_store.h"
#include "link/receive_run.h"
#include "platform/device_settings.h"
#include "platform/memory_settings_store.h"
#include "tests/link/decoder_test_support.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ksv::device_testing {

std::vector<uint8_t> FromHex(const std::string& hex); // spaces ignored
std::string ToHex(const std::vector<uint8_t>& bytes);

// The library on a host: its output collected, its callbacks recorded.
class Firmware {
public:
    struct Value {
        uint32_t id;
        std::vector<uint8_t> bytes;
    };

    explicit Firmware(const std::vector<ksvd_control>& controls, const char* name = "Rig");

    void Feed(const std::vector<uint8_t>& bytes) { ksvd_feed(&dev, bytes.data(), bytes.size()); }
    // What one poll writes.
    std::vector<uint8_t> Poll(uint32_t nowMs = 0);
    // Hello in, the reply and panel out; what came out is dropped.
    void Connect();

    ksvd_config cfg{};
    ksvd_device dev{};
    std::vector<ksvd_control> controls;
    std::vector<uint8_t> written;
    std::vector<Value> values;
    std::vector<std::pair<std::string, std::string>> passwords;
    std::vector<uint32_t> layoutRequests;
    std::vector<uint8_t> disconnects;
    int connects = 0;
    int acks = 0;
    uint8_t passwordBuffer[68] = {};
};

// The client's receive path (the real decoders and store) reading what the library wrote.
class Client : public ReceiveHost {
public:
    // Runs every frame in `bytes`; the arrival code of each.
    std::vector<int32_t> Receive(const std::vector<uint8_t>& bytes);
    ControlRecord* Record(uint32_t id) { return store.LockStore().FindControl(id); }

    void SendPingReply() override { ++pingReplies; }
    void SendAcknowledge() override { ++acknowledgements; }
    void OnPingReply() override {}
    void OnHelloReply(const HelloReply& reply) override { hello = reply; }
    FilesPlace FilesFolder() override { return FilesPlace{folder, "Rig"}; }

    decoder_testing::RecordingReporter reporter;
    PanelStore store{reporter};
    MemorySettingsStore settingsStore;
    DeviceSettings settings{settingsStore, [] { return std::u16string(u"Rig"); }};
    HelloReply hello;
    std::string folder;
    int pingReplies = 0;
    int acknowledgements = 0;
};

// A frame as the client's senders build it: marker, header, payload.
std::vector<uint8_t> HandheldFrame(uint16_t kind, const std::vector<uint8_t>& payload = {});

} // namespace ksv::device_testing

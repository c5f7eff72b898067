#include "device_harness.h"

#include "link/frame.h"

#include <algorithm>
#include <cstdio>

namespace ksv::device_testing {

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> out;
    std::string digits;
    for (char c : hex) {
        if (c != ' ' && c != '\n') {
            digits += c;
        }
    }
    for (size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return out;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char digits[3];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        out += digits;
    }
    return out;
}

Firmware::Firmware(const std::vector<ksvd_control>& table, const char* name) : controls(table) {
    cfg.name = name;
    cfg.controls = controls.data();
    cfg.ncontrols = static_cast<uint8_t>(controls.size());
    cfg.password_buf = passwordBuffer;
    cfg.ctx = this;
    cfg.write = [](void* ctx, const uint8_t* bytes, uint16_t n) {
        auto* self = static_cast<Firmware*>(ctx);
        self->written.insert(self->written.end(), bytes, bytes + n);
    };
    cfg.on_value = [](void* ctx, uint32_t id, const uint8_t* data, uint16_t len) {
        static_cast<Firmware*>(ctx)->values.push_back({id, {data, data + len}});
    };
    cfg.on_connect = [](void* ctx) { ++static_cast<Firmware*>(ctx)->connects; };
    cfg.on_disconnect = [](void* ctx, uint8_t why) {
        static_cast<Firmware*>(ctx)->disconnects.push_back(why);
    };
    cfg.on_layout_request = [](void* ctx, uint32_t argument) {
        static_cast<Firmware*>(ctx)->layoutRequests.push_back(argument);
    };
    cfg.on_password = [](void* ctx, uint32_t, const uint8_t* first, const uint8_t* second) {
        static_cast<Firmware*>(ctx)->passwords.emplace_back(reinterpret_cast<const char*>(first),
                                                            reinterpret_cast<const char*>(second));
    };
    cfg.on_ack = [](void* ctx) { ++static_cast<Firmware*>(ctx)->acks; };
    ksvd_init(&dev, &cfg);
}

std::vector<uint8_t> Firmware::Poll(uint32_t nowMs) {
    written.clear();
    ksvd_poll(&dev, nowMs);
    return written;
}

void Firmware::Connect() {
    Feed(HandheldFrame(kMsgHello));
    Poll();
    written.clear();
}

std::vector<int32_t> Client::Receive(const std::vector<uint8_t>& bytes) {
    ReceiveContext context{store, reporter, settings, *this};
    MemoryReader in(bytes);
    std::vector<int32_t> codes;
    while (in.Remaining() > 0) {
        const RunOutcome outcome = ReceiveOneMessage(in, context);
        if (!outcome.post) {
            break;
        }
        codes.push_back(outcome.arrivalCode);
    }
    return codes;
}

std::vector<uint8_t> HandheldFrame(uint16_t kind, const std::vector<uint8_t>& payload) {
    const auto prefix = EncodeFramePrefix(kind);
    std::vector<uint8_t> frame(prefix.size() + payload.size());
    std::copy(prefix.begin(), prefix.end(), frame.begin());
    std::copy(payload.begin(), payload.end(), frame.begin() + prefix.size());
    return frame;
}

} // namespace ksv::device_testing

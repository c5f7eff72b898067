#pragma once

#include "link/device_encoder.h"
#include "link/frame.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "tests/support/stream_device.h"
#include "tests/support/tcp_device.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ksv::testing {

// The next bytes the handheld sent to `device` are exactly `expected`.
inline void ExpectSentTo(StreamDevice& device, const std::vector<uint8_t>& expected) {
    const auto got = device.Read(expected.size());
    ASSERT_TRUE(got.has_value()) << "the handheld sent fewer bytes than expected";
    EXPECT_EQ(*got, expected);
}

// Sends a device frame and waits for the run it starts to post; returns the ArrivalCode.
inline int32_t DeliverFrom(StreamDevice& device, Link& link, ArrivalCounter& arrivals,
                           const DeviceMessage& message) {
    const int before = arrivals.Posts();
    device.Write(message.Frame());
    EXPECT_TRUE(arrivals.WaitFor(before + 1)) << "no arrival posted";
    return link.GetArrivalCode();
}

enum class DeviceKind { Pty, Tcp };

inline std::unique_ptr<StreamDevice> MakeDevice(DeviceKind kind) {
    if (kind == DeviceKind::Tcp) {
        return std::make_unique<TcpDevice>();
    }
    return std::make_unique<PtyDevice>();
}

inline std::string DeviceKindName(const ::testing::TestParamInfo<DeviceKind>& info) {
    return info.param == DeviceKind::Tcp ? "Tcp" : "Pty";
}

// A link opened on a pseudo-terminal or a loopback TCP device; SetUp consumes the Hello.
class LinkOverStream : public ::testing::TestWithParam<DeviceKind> {
protected:
    void SetUp() override {
        device = MakeDevice(GetParam());
        link = std::make_unique<Link>(settings, reporter, device->Paths(), limits);
        link->LinkInit();
        ASSERT_EQ(link->OpenPort(device->PortNumber(), &arrivals), kSuccess);
        ExpectSent(HandheldPrefix(kMsgHello));
    }
    void TearDown() override { link.reset(); }

    void ExpectSent(const std::vector<uint8_t>& expected) { ExpectSentTo(*device, expected); }
    int32_t Deliver(const DeviceMessage& message) {
        return DeliverFrom(*device, *link, arrivals, message);
    }
    int32_t DeliverNext(const DeviceMessage& message) {
        EXPECT_EQ(link->StartReceiver(&arrivals), kSuccess);
        return Deliver(message);
    }

    LinkLimits limits;
    std::unique_ptr<StreamDevice> device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    ArrivalCounter arrivals;
    std::unique_ptr<Link> link;
};

} // namespace ksv::testing

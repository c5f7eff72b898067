#pragma once

#include "link/device_encoder.h"
#include "link/frame.h"
#include "link/link.h"
#include "link_stream_fixture.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace ksv::testing {

// A link opened on a pseudo-terminal; the test plays the device. SetUp consumes the Hello.
class LinkOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        link = std::make_unique<Link>(settings, reporter, device.Paths(), limits);
        link->LinkInit();
        ASSERT_EQ(link->OpenPort(device.PortNumber(), &arrivals), kSuccess);
        ExpectSent(HandheldPrefix(kMsgHello));
    }

    void TearDown() override { link.reset(); }

    void ExpectSent(const std::vector<uint8_t>& expected) { ExpectSentTo(device, expected); }
    int32_t Deliver(const DeviceMessage& message) {
        return DeliverFrom(device, *link, arrivals, message);
    }

    // Waits until the link has read every byte the device wrote (the run is then inside what
    // they started, or done with them).
    bool WaitLinkTookEverything(std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (link->BytesReceived() < device.BytesWritten()) {
            if (std::chrono::steady_clock::now() >= end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // The receiver runs again, as the view restarts it after each arrival.
    int32_t DeliverNext(const DeviceMessage& message) {
        EXPECT_EQ(link->StartReceiver(&arrivals), kSuccess);
        return Deliver(message);
    }

    LinkLimits limits; // a derived fixture may change them before SetUp
    PtyDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    ArrivalCounter arrivals;
    std::unique_ptr<Link> link;
};

inline std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace ksv::testing

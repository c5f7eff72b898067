#include "link/device_encoder.h"
#include "link/frame.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"
#include "traffic/frame_ring.h"
#include "traffic/frame_summary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace ksv::testing {
namespace {

// A link on a pseudo-terminal with the monitor's ring as its tap; SetUp consumes the Hello.
class LinkTapTest : public ::testing::Test {
protected:
    void SetUp() override {
        link.SetTap(&ring);
        link.LinkInit();
        ASSERT_EQ(link.OpenPort(device.PortNumber(), &arrivals), kSuccess);
        ASSERT_TRUE(device.Read(kFramePrefixSize));
    }

    // "in Kind" / "out Kind" of every frame so far, "skipped N" for skipped bytes.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const FramePtr& frame : ring.Since(0).frames) {
            rows.push_back(
                frame->skipped
                    ? FrameSummary(*frame)
                    : std::string(frame->direction == TapDirection::kReceived ? "in " : "out ") +
                          FrameKindName(*frame));
        }
        return rows;
    }

    PtyDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    ArrivalCounter arrivals;
    FrameRing ring;
    Link link{settings, reporter, device.Paths()};
};

TEST_F(LinkTapTest, FramesBothWaysInWireOrderWithSkippedBytesAndAnswersAfterTheirCause) {
    std::vector<uint8_t> garbage(37, 0x5a);
    device.Write(garbage);
    device.Write(EncodeBareFrame(kMsgDevicePing).Frame());
    ASSERT_TRUE(arrivals.WaitFor(1));
    ASSERT_TRUE(device.Read(kFramePrefixSize)); // the PingReply

    device.Write(EncodeValues({ByteEntry(0x301, 0xff)}, kFlagAckRequested).Frame());
    ASSERT_EQ(link.StartReceiver(&arrivals), kSuccess);
    ASSERT_TRUE(arrivals.WaitFor(2));
    ASSERT_TRUE(device.Read(kFramePrefixSize)); // the Acknowledge

    EXPECT_EQ(Rows(), (std::vector<std::string>{"out Hello", "skipped 37 bytes", "in DevicePing",
                                                "out PingReply", "in Values", "out Acknowledge"}));
    const std::vector<FramePtr> frames = ring.Since(0).frames;
    EXPECT_EQ(FrameSummary(*frames[4]), "Values  #0x301 = ff");
    EXPECT_EQ(frames[4]->length, kFramePrefixSize + 13);
    EXPECT_LE(frames[1]->micros, frames[4]->micros);
}

TEST_F(LinkTapTest, ALargeFrameKeepsOnlyItsPrefixAndAPortThatGoesAwayMidHuntTellsItsBytes) {
    const std::vector<uint8_t> big(5000, 0x11);
    device.Write(EncodeValues({{0x9, big, {}}}).Frame());
    ASSERT_TRUE(arrivals.WaitFor(1));
    FramePtr values = ring.Since(0).frames.back();
    EXPECT_EQ(values->length, kFramePrefixSize + 4 + 8 + big.size());
    EXPECT_EQ(values->bytes.size(), kKeptFrameBytes);

    device.Write({1, 2, 3});
    ASSERT_EQ(link.StartReceiver(&arrivals), kSuccess);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (link.BytesReceived() < device.BytesWritten() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    device.HangUp();
    EXPECT_EQ(arrivals.WaitForLinkLost().size(), 1u);
    EXPECT_EQ(Rows().back(), "skipped 3 bytes");
}

} // namespace
} // namespace ksv::testing

#include "link_test_fixture.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <future>
#include <thread>

namespace ksv::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// A device that stops in the middle of a frame, or does not read what it is sent.
class StalledDevice : public LinkOverPty {
protected:
    // Prompt's window is well inside both limits: an operation that waits on the stalled frame
    // or on the stalled write cannot pass it.
    StalledDevice() { limits.frameStallMs = 1000; }

    void SetUp() override {
        LinkOverPty::SetUp();
        Deliver(
            EncodePanelDescription({DeviceControl('M', 0, 7).U32('n', 4).U32('N', 1).ValueBytes(
                                        std::vector<uint8_t>(16 + 4, 0)),
                                    DeviceControl('F', 0, 8), DeviceControl('N', 0, 9).ValueU32(0),
                                    DeviceControl('O', 0, 10).ValueBytes({}).U32('m', 1 << 20)}));
        ASSERT_EQ(link->StartReceiver(&arrivals), kSuccess);
    }

    // The 1 MiB blob marked for sending.
    void MarkBlob() {
        std::vector<uint8_t> blob(1 << 20, 0x5A);
        ASSERT_EQ(
            link->Store().SetControlValue(10, blob.data(), static_cast<uint32_t>(blob.size())),
            kSuccess);
    }

    // True when `operation` finishes within 300 ms on another thread.
    template <typename Operation> static bool Prompt(Operation operation) {
        auto done = std::async(std::launch::async, operation);
        return done.wait_for(milliseconds(300)) == std::future_status::ready;
    }
};

TEST_F(StalledDevice, AFrameCutOffMidwayNeitherHoldsTheStoreNorTheWriterAndIsAbandoned) {
    const DeviceMessage frames[] = {
        EncodeMatrixRows({MatrixRowEntry(7, {1, 0, 0, 0}, {}, 0, 1)}),
        EncodeFileTransfer(8, {{u"a.bin", false, std::vector<uint8_t>(5000, 1)}}),
        EncodeValues({U32Entry(9, 5), U32Entry(9, 6)}),
        EncodeStyleUpdate({StyleEntry(9, 1), StyleEntry(9, 0)}),
        EncodePanelDescription({DeviceControl('B', 0, 1).ValueByte(0)}),
    };
    int posts = arrivals.Posts();
    for (const DeviceMessage& message : frames) {
        const std::vector<uint8_t> frame = message.Frame();
        device.Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 28 + 4));
        ASSERT_TRUE(WaitLinkTookEverything());
        EXPECT_TRUE(Prompt([&] { return link->Store().GetControlCount(); })) << message.kind;
        EXPECT_TRUE(Prompt([&] { return link->SendAcknowledge(); })) << message.kind;
        ASSERT_TRUE(arrivals.WaitFor(++posts)) << "the stalled frame was never given up";
        EXPECT_EQ(link->GetArrivalCode(), kArrivalError);
        EXPECT_EQ(reporter.Values().back(), ETIMEDOUT);
        EXPECT_EQ(link->Store().GetControlCount(), 4u) << "the old panel stays";
        EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgNoOperation)), kArrivalNothing);
        ++posts;
        ASSERT_EQ(link->StartReceiver(&arrivals), kSuccess);
    }
    EXPECT_TRUE(Prompt([&] { return link->ClosePort(); }));
}

TEST_F(StalledDevice, AFrameTheDeviceDoesNotReadGivesUpWithoutHoldingTheStore) {
    MarkBlob();
    auto sending = std::async(std::launch::async, [&] { return link->SendChangedValues(); });
    ASSERT_TRUE(device.Read(kFramePrefixSize)) << "the frame is on its way";
    EXPECT_TRUE(Prompt([&] { return link->Store().GetControlCount(); }));
    ASSERT_EQ(sending.wait_for(seconds(10)), std::future_status::ready);
    EXPECT_EQ(sending.get(), kWriteGaveUp);
    device.Drain();
    EXPECT_EQ(link->SendHello(), kSuccess) << "the link stays usable";
}

TEST_F(StalledDevice, AFrameTheDeviceReadsOnlyATrickleOfGivesUpAtItsBudget) {
    MarkBlob();
    std::atomic<bool> sent{false};
    std::thread trickle([&] {
        while (!sent) { // a slow device: always some progress, never the whole frame in time
            device.Read(512, milliseconds(50));
            std::this_thread::sleep_for(milliseconds(20));
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const ResultCode result = link->SendChangedValues();
    const auto took = std::chrono::steady_clock::now() - start;
    sent = true;
    trickle.join();
    EXPECT_EQ(result, kWriteGaveUp);
    EXPECT_LT(took, milliseconds(limits.frameWriteMs) + seconds(1));
}

} // namespace
} // namespace ksv::testing

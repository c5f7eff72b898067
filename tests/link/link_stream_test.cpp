// The receive path's essentials over every kind of port: a pseudo-terminal and loopback TCP.
#include "link_stream_fixture.h"

#include <chrono>
#include <future>

namespace ksv::testing {
namespace {

TEST_P(LinkOverStream, HelloPanelAndValuesGoBothWays) {
    EXPECT_EQ(Deliver(EncodeHelloReply(u"Pump", false)), kArrivalDeviceName);
    EXPECT_EQ(link->GetDeviceName(), std::u16string(u"Pump"));
    EXPECT_EQ(DeliverNext(EncodePanelDescription(
                  {DeviceControl('N', 0, 6).ValueU32(3).U32('x', 10).U32('n', 0)})),
              kArrivalNewPanel);
    EXPECT_EQ(DeliverNext(EncodeValues({U32Entry(6, 9)})), kArrivalValuesChanged);
    int32_t number = 0;
    uint32_t size = sizeof number;
    EXPECT_EQ(link->Store().GetControlValue(6, &number, &size), kSuccess);
    EXPECT_EQ(number, 9);

    EXPECT_EQ(link->SendPing(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgPing));
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_P(LinkOverStream, GarbageAndABadKindAreSkippedToTheNextFrame) {
    const std::vector<uint8_t> frame = EncodeBareFrame(kMsgNoOperation).Frame();
    device->Write({0x00, 0x5A, 0xE3, 0xF1, 0x12, 0x5A});
    device->Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 5));
    device->Write(std::vector<uint8_t>(frame.begin() + 5, frame.end()));
    ASSERT_TRUE(arrivals.WaitFor(1));
    EXPECT_EQ(link->GetArrivalCode(), kArrivalNothing);
    EXPECT_EQ(DeliverNext(EncodeBareFrame(3)), kArrivalError);
    EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgResetRequest)), kArrivalResetLink);
    EXPECT_EQ(reporter.Values(), std::vector<long>{-1});
}

TEST_P(LinkOverStream, ClosingWhileTheReceiverWaitsIsPromptAndSilent) {
    auto closing = std::async(std::launch::async, [&] { return link->ClosePort(); });
    ASSERT_EQ(closing.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_EQ(closing.get(), kSuccess);
    EXPECT_EQ(arrivals.Posts(), 0);
    EXPECT_EQ(arrivals.LinkLost(), 0u) << "our own close is no loss";
    EXPECT_TRUE(reporter.Values().empty());
    EXPECT_EQ(link->StartReceiver(&arrivals), kNoPort);
}

TEST_P(LinkOverStream, AVanishedDeviceIsToldAsALostLinkAtOnce) {
    // Inside a frame and between frames alike.
    const std::vector<uint8_t> frame = EncodeHelloReply(u"Pump", false).Frame();
    device->Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 26));
    device->HangUp();
    EXPECT_EQ(arrivals.WaitForLinkLost(), std::vector<ResultCode>{kLinkClosed});
    EXPECT_EQ(arrivals.Posts(), 0);
    EXPECT_TRUE(reporter.Values().empty());
    EXPECT_EQ(link->ClosePort(), kSuccess);
    EXPECT_EQ(arrivals.LinkLost(), 1u);
}

TEST_P(LinkOverStream, GoodbyeOnLeavingGoesOutAndThePortCloses) {
    EXPECT_EQ(link->DisconnectWithin(200), kSuccess);
    ExpectSent(HandheldPrefix(kMsgGoodbyeFromHandheld));
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(link->DisconnectWithin(200), kNoPort);
}

INSTANTIATE_TEST_SUITE_P(Ports, LinkOverStream, ::testing::Values(DeviceKind::Pty, DeviceKind::Tcp),
                         DeviceKindName);

} // namespace
} // namespace ksv::testing

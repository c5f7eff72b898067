// A sink that takes arrivals in batches, as the view does: the receive thread reads on past the
// updates the GUI takes from the store's marks, stops at what the GUI must see first, and the
// device still gets every acknowledgement and ping reply in order.
#include "link_test_fixture.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ksv::testing {
namespace {

class AheadCounter : public ArrivalCounter {
public:
    bool ReceivesAhead() const override { return true; }
};

class LinkAhead : public ::testing::Test {
protected:
    void SetUp() override {
        link = std::make_unique<Link>(settings, reporter, device.Paths());
        link->LinkInit();
        ASSERT_EQ(link->OpenPort(device.PortNumber(), &sink), kSuccess);
        ExpectSentTo(device, HandheldPrefix(kMsgHello));
    }

    // The codes taken until `last` is among them, an equal code in a row told once, as one
    // take would have had them.
    std::vector<int32_t> TakeThrough(int32_t last) {
        std::vector<int32_t> codes;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::find(codes.begin(), codes.end(), last) == codes.end() &&
               std::chrono::steady_clock::now() < end) {
            const std::vector<int32_t> taken = link->TakeArrivals();
            takesWithCodes += taken.empty() ? 0 : 1;
            for (const int32_t code : taken) {
                if (codes.empty() || codes.back() != code) {
                    codes.push_back(code);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return codes;
    }

    int32_t NumberOf(uint32_t id) {
        int32_t number = 0;
        uint32_t size = sizeof number;
        link->Store().GetControlValue(id, &number, &size);
        return number;
    }

    int takesWithCodes = 0;
    PtyDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    AheadCounter sink;
    std::unique_ptr<Link> link;
};

DeviceControl Number(uint32_t id) {
    return DeviceControl('N', 0, id).ValueU32(0).U32('x', 1000);
}

TEST_F(LinkAhead, ReadsOnPastUpdatesAndWaitsAtANewPanel) {
    device.Write(EncodePanelDescription({Number(6)}).Frame());
    EXPECT_EQ(TakeThrough(kArrivalNewPanel), std::vector<int32_t>{kArrivalNewPanel});
    link->StartReceiver(&sink);

    std::vector<uint8_t> burst;
    for (const DeviceMessage& message :
         {EncodeValues({U32Entry(6, 1)}, kFlagAckRequested), EncodeBareFrame(kMsgDevicePing),
          EncodeValues({U32Entry(6, 2)}, kFlagAckRequested), EncodeValues({U32Entry(6, 3)}),
          EncodeStyleUpdate({U32Entry(6, 0x11)}), EncodePanelDescription({Number(7)}),
          EncodeValues({U32Entry(7, 5)})}) {
        const std::vector<uint8_t> frame = message.Frame();
        burst.insert(burst.end(), frame.begin(), frame.end());
    }
    const int postsBefore = sink.Posts();
    takesWithCodes = 0;
    device.Write(burst);
    EXPECT_EQ(
        TakeThrough(kArrivalNewPanel),
        (std::vector<int32_t>{kArrivalValuesChanged, kArrivalDevicePing, kArrivalValuesChanged,
                              kArrivalStylesChanged, kArrivalNewPanel}));
    // However the burst is split, each post waits for a take of what the one before told.
    const int burstPosts = sink.Posts() - postsBefore;
    EXPECT_GE(burstPosts, 1);
    EXPECT_LE(burstPosts, takesWithCodes) << "posted again only after a take";
    ExpectSentTo(device, HandheldPrefix(kMsgAcknowledge));
    ExpectSentTo(device, HandheldPrefix(kMsgPingReplyToDevice));
    ExpectSentTo(device, HandheldPrefix(kMsgAcknowledge));

    // The thread waits at the new panel: the value after it is read once the GUI resumes it.
    EXPECT_EQ(NumberOf(7), 0);
    link->StartReceiver(&sink);
    EXPECT_EQ(TakeThrough(kArrivalValuesChanged), std::vector<int32_t>{kArrivalValuesChanged});
    EXPECT_EQ(NumberOf(7), 5);
}

} // namespace
} // namespace ksv::testing

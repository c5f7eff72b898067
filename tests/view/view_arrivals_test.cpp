// Arrivals reach the GUI in batches: whatever the device sent before the GUI looked is shown
// in one pass, each control with its last value, and the device sees every frame answered.

#include "kinds_fixture.h"

#include <thread>

namespace {

using ksv::DeviceControl;
using ArrivalBatches = KindsFixture;

DeviceControl Number(uint32_t id) {
    return DeviceControl('N', 0, id).ValueU32(0).U32('x', 100000).Caption(u"n");
}

TEST_F(ArrivalBatches, ABurstIsShownInAFewPassesAndEveryFrameAcknowledged) {
    Connect({Number(1)});
    const uint64_t passes = view->ArrivalPasses();
    constexpr int kFrames = 100;
    std::vector<uint8_t> burst;
    for (int i = 1; i <= kFrames; ++i) {
        const auto frame =
            ksv::EncodeValues({ksv::U32Entry(1, static_cast<uint32_t>(i))}, ksv::kFlagAckRequested)
                .Frame();
        burst.insert(burst.end(), frame.begin(), frame.end());
    }
    device.Write(burst);
    ASSERT_TRUE(WaitFor([&] { return Ctrl(1)->m_number.m_value == kFrames; }));
    EXPECT_LT(view->ArrivalPasses() - passes, uint64_t{kFrames / 5});
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(ReadFrame().kind, ksv::kMsgAcknowledge) << "frame " << i;
    }
}

TEST_F(ArrivalBatches, AFileArrivingWithValuesInOnePassIsStillOpened) {
    Connect({Number(1), DeviceControl('F', ksv::kFlagActionOpenInBrowser, 2).Caption(u"Get")});
    std::vector<uint8_t> both = ksv::EncodeValues({ksv::U32Entry(1, 7)}).Frame();
    const auto file =
        ksv::EncodeFileTransfer(2, {ksv::DeviceFile{u"\\My Documents\\n.txt", false, {'h'}}})
            .Frame();
    both.insert(both.end(), file.begin(), file.end());
    device.Write(both);
    // The GUI looks only once the file is in the store, behind the values.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        {
            const ksv::StoreLock lock(link->Store());
            if (!lock.Store().GetFileName(2).empty()) {
                break;
            }
        }
        ASSERT_LT(std::chrono::steady_clock::now(), end) << "the file never arrived";
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(WaitFor([&] { return urls.size() == 1; }));
    EXPECT_TRUE(urls[0].toLocalFile().endsWith("n.txt"));
    EXPECT_EQ(Ctrl(1)->m_number.m_value, 7);
}

} // namespace

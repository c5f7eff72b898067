#include "decoder_test_support.h"

#include "link/frame.h"
#include "link/panel_budget.h"
#include "link/receive_run.h"
#include "platform/memory_settings_store.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace ksv {
namespace {

using decoder_testing::StoreFixture;

std::vector<DeviceControl> Repeated(const DeviceControl& control, size_t count) {
    return std::vector<DeviceControl>(count, control);
}

TEST(PanelBudget, DescriptionsPastTheBudgetAreRefusedAndTheOldPanelStays) {
    const std::vector<std::vector<DeviceControl>> hostile = {
        Repeated(DeviceControl('O', 0, 2).U32('m', 0xFFFFFFFF), 300),
        Repeated(DeviceControl('M', 0, 3).U32('n', 512).U32('N', 512), 300),
    };
    for (const auto& panel : hostile) {
        StoreFixture f;
        ASSERT_EQ(f.Load({DeviceControl('B', 0, 1).ValueByte(0)}), kSuccess);
        EXPECT_EQ(f.Load(panel), kPanelTooLarge);
        EXPECT_EQ(f.store.GetControlCount(), 1u);
        EXPECT_EQ(f.Record(1).kind, kRecordButton);
    }
    StoreFixture f;
    const DeviceMessage tooMany = EncodePanelDescriptionRecords(kMaxPanelRecords + 1, {});
    MemoryReader in(tooMany.payload);
    EXPECT_EQ(DecodePanelDescription(in, f.store, f.reporter), kPanelTooLarge);
    EXPECT_TRUE(f.reporter.values.empty()) << "refused before a record is read";
}

TEST(PanelBudget, AMatrixWhoseCellSizeWrapsKeepsNoCells) {
    StoreFixture f;
    ASSERT_EQ(f.Load({DeviceControl('M', 0, 3)
                          .U32('n', 0x80000000)
                          .U32('N', 0x80000000)
                          .ValueBytes(std::vector<uint8_t>(8, 0))}),
              kSuccess);
    EXPECT_EQ(f.reporter.values, std::vector<long>{8});
    EXPECT_EQ(f.Record(3).rowCount, 0u);
    EXPECT_EQ(f.Record(3).cellsSize, 0u);
}

TEST(EmptyBuffers, ValuesIntoZeroCapacityAndNullDataChangeNothing) {
    StoreFixture f;
    ASSERT_EQ(
        f.Load({DeviceControl('O', 0x00010000, 1).ValueBytes({}).U32('m', 0),
                DeviceControl('D', 0, 2).ValueBytes(std::vector<uint8_t>(8, 7)).String('f', u"d"),
                DeviceControl('N', 0, 3).ValueU32(9), DeviceControl('L', 0, 4).ValueU32(2)}),
        kSuccess);
    const DeviceMessage values = EncodeValues({TextEntry(1, u"abc", false, 3)});
    MemoryReader in(values.payload);
    EXPECT_EQ(ApplyValues(in, f.store, f.reporter), kSuccess);
    for (uint32_t id : {2u, 3u, 4u}) {
        EXPECT_EQ(f.store.SetControlValue(id, nullptr, 0), kSuccess);
    }
    EXPECT_EQ(f.Record(2).dateTime[0], 7);
    EXPECT_EQ(f.Record(3).number, 9);
    EXPECT_EQ(f.Record(4).selection, 2);
}

// A reader whose platform call fails with an errno equal to kLinkClosed's number.
class FailingReader : public ByteReader {
public:
    explicit FailingReader(const std::vector<uint8_t>& bytes) : m_inner(bytes) {}
    ResultCode ReadBytes(void* buffer, uint32_t length) override {
        return m_inner.Remaining() >= length ? m_inner.ReadBytes(buffer, length)
                                             : PlatformError(ENXIO);
    }

private:
    MemoryReader m_inner;
};

class NoHost : public ReceiveHost {
public:
    void SendPingReply() override {}
    void SendAcknowledge() override {}
    void OnPingReply() override {}
    void OnHelloReply(const HelloReply&) override {}
    FilesPlace FilesFolder() override { return {}; }
};

TEST(PlatformErrors, AnErrnoOfSixIsAFailureNotAClosedPort) {
    StoreFixture f;
    MemorySettingsStore settingsStore;
    DeviceSettings settings(settingsStore, [] { return std::u16string(u"D"); });
    NoHost host;
    ReceiveContext context{f.store, f.reporter, settings, host};
    std::vector<uint8_t> cut = EncodeValues({U32Entry(1, 1)}).Frame();
    cut.resize(cut.size() - 2);
    FailingReader in(cut);
    const RunOutcome outcome = ReceiveOneMessage(in, context);
    EXPECT_TRUE(outcome.post);
    EXPECT_EQ(outcome.arrivalCode, kArrivalError);
    EXPECT_EQ(f.reporter.values, std::vector<long>{ENXIO});
    EXPECT_EQ(LastPlatformError(), ENXIO);
}

} // namespace
} // namespace ksv

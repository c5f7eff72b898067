#include "decoder_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ksv {
namespace {

using decoder_testing::StoreFixture;

class PanelStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(f.Load({
                      DeviceControl('T', 0, 1).ValueText(u"Hi").U32('m', 10),
                      DeviceControl('N', 0, 6).ValueU32(0x11223344),
                      DeviceControl('M', 0, 7).U32('n', 1).U32('N', 1).ValueBytes(
                          {1, 2, 3, 4, 0, 0, 0, 0}),
                      DeviceControl('P', 0, 8).ValueByte(3),
                      DeviceControl('G', 0, 30).ValueByte(1).U32('r', 4),
                      DeviceControl('G', 0x00010000, 31).ValueByte(1).U32('r', 4),
                      DeviceControl('G', 0, 32).ValueByte(1).U32('r', 5),
                      DeviceControl('O', 0, 11).ValueBytes({9, 8, 7}).U32('m', 4),
                      DeviceControl('F', 0, 12),
                      DeviceControl('I', 0x00010000, 14).ValueBytes({1, 2}),
                      DeviceControl('Q', 0, 13),
                      DeviceControl('X', 0, 10).ValueText(u"ok").U32('m', 3),
                  }),
                  kSuccess);
    }

    StoreFixture f;
};

TEST_F(PanelStoreTest, TextValueSizeAndBoundedCopy) {
    uint32_t size = 0;
    ASSERT_EQ(f.store.GetControlValue(1, nullptr, &size), kSuccess);
    EXPECT_EQ(size, 6u); // "Hi" and its terminator, UTF-16

    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    size = 4; // room for two bytes less than needed
    ASSERT_EQ(f.store.GetControlValue(1, buffer, &size), kSuccess);
    EXPECT_EQ(buffer[0], u'H');
    EXPECT_EQ(buffer[1], u'i');
    EXPECT_EQ(buffer[2], u'x');

    // A message box gives its whole buffer.
    ASSERT_EQ(f.store.GetControlValue(10, nullptr, &size), kSuccess);
    EXPECT_EQ(size, 6u);
}

TEST_F(PanelStoreTest, SetValuePerKind) {
    const uint8_t two[] = {0xAA, 0xBB};
    ASSERT_EQ(f.store.SetControlValue(6, two, 2), kSuccess);
    EXPECT_EQ(static_cast<uint32_t>(f.Record(6).number), 0x1122BBAAu);
    EXPECT_EQ(f.Record(6).toSend, 1);

    const char16_t text[] = u"abcdefghijklmnop"; // longer than the buffer of 10 characters
    ASSERT_EQ(f.store.SetControlValue(1, text, sizeof text), kSuccess);
    EXPECT_EQ(f.Record(1).text, u"abcdefghij");

    const uint8_t blob[] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(f.store.SetControlValue(11, blob, sizeof blob), kSuccess);
    EXPECT_EQ(f.Record(11).length, 4u);
    EXPECT_EQ(f.Record(11).data, (std::vector<uint8_t>{1, 2, 3, 4}));

    ASSERT_EQ(f.store.SetControlValue(12, nullptr, 0), kSuccess);
    ASSERT_EQ(f.store.SetControlValue(14, nullptr, 0), kSuccess);
    ASSERT_EQ(f.store.SetControlValue(13, blob, 1), kSuccess);
    EXPECT_EQ(f.Record(12).toSend, 1);
    EXPECT_EQ(f.Record(14).toSend, 1);
    EXPECT_EQ(f.Record(14).data, (std::vector<uint8_t>{1, 2})); // images store nothing
    EXPECT_EQ(f.Record(13).toSend, 0);

    ASSERT_EQ(f.store.SetControlValue(10, blob, 1), kSuccess);
    EXPECT_EQ(f.Record(10).answer, 1);
    EXPECT_EQ(f.store.SetControlValue(999, blob, 1), kSuccess);
}

TEST_F(PanelStoreTest, ChartsAndPasswordsRefuseValues) {
    f.Record(7).valueUpdated = 1;
    const uint8_t byte = 1;
    EXPECT_EQ(f.store.SetControlValue(7, &byte, 1), kNotApplicable);
    EXPECT_EQ(f.Record(7).valueUpdated, 0);
    EXPECT_EQ(f.Record(7).toSend, 0);
    uint32_t size = 0;
    EXPECT_EQ(f.store.GetControlValue(7, nullptr, &size), kNotApplicable);
    EXPECT_EQ(f.store.SetControlValue(8, &byte, 1), kNotApplicable);
    EXPECT_EQ(f.Record(8).toSend, 0);
    ASSERT_EQ(f.store.GetControlValue(8, nullptr, &size), kSuccess);
    EXPECT_EQ(size, 1u);
}

TEST_F(PanelStoreTest, ClearLatchGroupSparesFlaggedLatches) {
    ASSERT_EQ(f.store.ClearLatchGroup(4), kSuccess);
    EXPECT_EQ(f.Record(30).latchState, 0);
    EXPECT_EQ(f.Record(30).toSend, 1);
    EXPECT_EQ(f.Record(31).latchState, 1);
    EXPECT_EQ(f.Record(31).toSend, 0);
    EXPECT_EQ(f.Record(32).latchState, 1);
}

TEST_F(PanelStoreTest, MarksAreClearedByTheirReaders) {
    f.Record(6).valueUpdated = 1;
    f.Record(6).styleUpdated = 1;
    f.Record(7).valueUpdated = 1;
    EXPECT_TRUE(f.store.IsValueUpdated(6));
    EXPECT_TRUE(f.store.IsStyleUpdated(6));
    uint32_t size = 0;
    f.store.GetControlValue(6, nullptr, &size);
    EXPECT_FALSE(f.store.IsValueUpdated(6));
    uint32_t flags = 1, colour = 1;
    ASSERT_EQ(f.store.GetControlStyle(6, &flags, &colour), kSuccess);
    EXPECT_EQ(flags, 0u);
    EXPECT_EQ(colour, 0x00FFFFFFu);
    EXPECT_FALSE(f.store.IsStyleUpdated(6));

    uint32_t cursor = 0;
    const std::vector<uint8_t>* cells = nullptr;
    const std::vector<uint8_t>* text = nullptr;
    ASSERT_EQ(f.store.LockStore().GetMatrixState(7, &cursor, &cells, &text), kSuccess);
    EXPECT_EQ(cells, &f.Record(7).cells);
    EXPECT_EQ(cells->size(), 4u);
    EXPECT_FALSE(f.store.IsValueUpdated(7));
    EXPECT_EQ(f.store.LockStore().GetMatrixState(6, &cursor, &cells, &text), kNotApplicable);
    EXPECT_FALSE(f.store.IsValueUpdated(999));
}

TEST_F(PanelStoreTest, LookupsAndIndexGetters) {
    EXPECT_EQ(f.store.GetRecordKind(7), kRecordMatrix);
    EXPECT_EQ(f.store.GetRecordKind(999), 0xFFFFFFFFu);
    EXPECT_EQ(f.store.FindControlIndex(8), 3);
    EXPECT_EQ(f.store.FindControlIndex(999), -1);
    EXPECT_TRUE(f.store.GetFileName(12).empty());

    const StoreLock lock(f.store);
    ControlHeader header;
    ASSERT_EQ(lock.GetControlHeader(1, header), kSuccess);
    EXPECT_EQ(header.id, 6u);
    EXPECT_EQ(header.kind, kRecordNumber);
    EXPECT_NE(lock.GetControlHeader(12, header), kSuccess);

    ControlDetails details;
    ASSERT_EQ(lock.GetControlDetails(1, details), kSuccess);
    EXPECT_EQ(details.format, u"%%");
    ASSERT_EQ(lock.GetControlDetails(2, details), kSuccess);
    EXPECT_EQ(details.rowCount, 1u);
    EXPECT_EQ(details.cellsSize, 4u);
    EXPECT_EQ(details.textSize, 0u);
    EXPECT_TRUE(details.format.empty()); // only the kind's own fields
}

TEST_F(PanelStoreTest, DiscardingACorruptListTellsTheUser) {
    f.store.DiscardControls();
    EXPECT_EQ(f.store.GetControlCount(), 0u);
    EXPECT_TRUE(f.reporter.messages.empty());

    std::vector<ControlRecord> records(2);
    records[0].kind = kRecordButton;
    records[1].kind = 77;
    f.store.ReplaceControls(std::move(records));
    f.store.DiscardControls();
    EXPECT_EQ(f.reporter.messages, std::vector<std::u16string>{u"Data transmission error."});
}

} // namespace
} // namespace ksv

#include "decoder_test_support.h"

#include "link/frame.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ksv {
namespace {

using decoder_testing::StoreFixture;

constexpr uint32_t kWide = 0x00000004;

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(
            f.Load({
                DeviceControl('T', 0, 1).ValueText(u"old").U32('m', 6),
                DeviceControl('T', kWide, 2).ValueText(u"old").U32('m', 8),
                DeviceControl('B', 0x10, 3).ValueByte(0),
                DeviceControl('N', 0, 6).ValueU32(0x11223344),
                DeviceControl('M', 0, 7).U32('n', 10).U32('N', 3).ValueBytes(
                    std::vector<uint8_t>(124, 0)),
                DeviceControl('M', 0x00110000, 17)
                    .U32('n', 4)
                    .U32('N', 2)
                    .ValueBytes(std::vector<uint8_t>(16 + 8 + 4, 0)), // 2-byte cells and labels
                DeviceControl('L', 0, 9).ValueU32(0),
                DeviceControl('X', 0, 10).ValueText(u"").U32('m', 4),
                DeviceControl('O', 0x00010000, 11).ValueText(u"").U32('m', 3),
                DeviceControl('F', 0, 12),
                DeviceControl('I', 0, 14).ValueBytes({1}),
                DeviceControl('Q', 0, 13),
            }),
            kSuccess);
    }

    ResultCode Apply(const DeviceMessage& message) {
        MemoryReader in(message.payload);
        switch (message.kind) {
        case kMsgValuesFromDevice:
            return ApplyValues(in, f.store, f.reporter);
        case kMsgStyleUpdate:
            return ApplyStyles(in, f.store, f.reporter);
        default:
            return ApplyMatrixRows(in, f.store, f.reporter);
        }
    }

    std::u16string Text(uint32_t id) {
        const ControlRecord& r = f.Record(id);
        return r.text.substr(0, r.TextLength());
    }

    uint32_t Cell(uint32_t id, size_t element) {
        return GetU32(f.Record(id).cells.data() + 4 * element);
    }

    StoreFixture f;
};

TEST_F(UpdateTest, ValuesReachEachKindAndSkipUnknownIds) {
    ASSERT_EQ(Apply(EncodeValues({
                  TextEntry(1, u"new\u00E9!!!", false, 8), // cut to maxBytes characters
                  TextEntry(555, u"nobody", false, 6), TextEntry(2, u"wxyz", true, 8),
                  ByteEntry(3, 1), U32Entry(9, 2), TextEntry(10, u"Stop", false, 4),
                  TextEntry(11, u"abcdef", false, 6), // text blob: capacity/2 characters
              })),
              kSuccess);
    EXPECT_EQ(f.Record(1).text, u"new\u00E9!!");
    EXPECT_EQ(Text(2), u"wxyz");
    EXPECT_EQ(f.Record(3).pressState, 1);
    EXPECT_EQ(f.Record(9).selection, 2);
    EXPECT_EQ(Text(10), u"Stop");
    std::u16string blob(3, u'\0');
    std::memcpy(&blob[0], f.Record(11).data.data(), 6);
    EXPECT_EQ(blob, u"abc");
    EXPECT_EQ(f.Record(11).length, 0u); // device updates leave the length
    for (uint32_t id : {1u, 2u, 3u, 9u, 10u, 11u}) {
        EXPECT_TRUE(f.store.IsValueUpdated(id)) << id;
    }
    EXPECT_TRUE(f.reporter.values.empty());
}

TEST_F(UpdateTest, ShortNumberChangesOnlyLowBytes) {
    DeviceEntry entry{6, {0xAA, 0xBB}, {}};
    ASSERT_EQ(Apply(EncodeValues({entry})), kSuccess);
    EXPECT_EQ(static_cast<uint32_t>(f.Record(6).number), 0x1122BBAAu);
}

TEST_F(UpdateTest, FileImageAndUnknownValuesAreSkipped) {
    ASSERT_EQ(
        Apply(EncodeValues({ByteEntry(12, 1), ByteEntry(14, 1), ByteEntry(13, 1), U32Entry(6, 5)})),
        kSuccess);
    EXPECT_EQ(f.reporter.values, (std::vector<long>{12, 777}));
    EXPECT_FALSE(f.store.IsValueUpdated(12));
    EXPECT_FALSE(f.store.IsValueUpdated(14));
    EXPECT_EQ(f.Record(14).data, std::vector<uint8_t>{1});
    EXPECT_EQ(f.Record(6).number, 5);
}

TEST_F(UpdateTest, MatrixValueFillsCellsTextAndCursor) {
    std::vector<uint8_t> value(120, 0x11);
    PutU32(value, 0xBEEF);
    ASSERT_EQ(Apply(EncodeValues({DeviceEntry{7, value, {}}})), kSuccess);
    EXPECT_EQ(Cell(7, 29), 0x11111111u);
    EXPECT_EQ(f.Record(7).cursorWord, 0xBEEFu);
}

TEST_F(UpdateTest, LyingEntryLengthFailsAfterTheRealBytes) {
    DeviceEntry entry = U32Entry(6, 9);
    entry.announcedLength = 0xFFFFFFF0;
    EXPECT_EQ(Apply(EncodeValues({U32Entry(9, 3), entry})), kLinkClosed);
    EXPECT_EQ(f.Record(9).selection, 3); // applied before stays applied
    EXPECT_EQ(f.Record(6).number, 0x11223344);
}

TEST_F(UpdateTest, StylesTakeMaskedBitsAndOptionalColour) {
    f.Record(9).colour = 0x00ABCDEF;
    f.Record(9).flags = 0x10;
    f.Record(10).flags = 0;
    ASSERT_EQ(Apply(EncodeStyleUpdate({
                  StyleEntry(3, 0x00000051, 0x000000FF), StyleEntry(9, 0x00000001),
                  StyleEntry(10, 0xFFFFFFFF), StyleEntry(555, 0x11), StyleEntry(13, 0x11),
                  StyleEntry(6, 0x00000040), // colour bit without a colour
              })),
              kSuccess);
    EXPECT_EQ(f.Record(3).flags, 0x11u);
    EXPECT_EQ(f.Record(3).colour, 0x000000FFu);
    EXPECT_TRUE(f.store.IsStyleUpdated(3));
    EXPECT_EQ(f.Record(9).flags, 0x01u);
    EXPECT_EQ(f.Record(9).colour, 0x00ABCDEFu);
    EXPECT_EQ(f.Record(10).flags, 0x00770011u); // a message box takes more bits
    EXPECT_EQ(f.Record(13).styleUpdated, 0);
    EXPECT_EQ(f.Record(6).colour, 0x00FFFFFFu);
}

TEST_F(UpdateTest, CorruptKindEndsStylesAndValues) {
    f.Record(6).kind = 40;
    EXPECT_EQ(Apply(EncodeStyleUpdate({StyleEntry(6, 1), StyleEntry(3, 1)})), kWrongKind);
    EXPECT_EQ(Apply(EncodeValues({U32Entry(6, 1), ByteEntry(3, 1)})), kWrongKind);
    EXPECT_EQ(f.reporter.values, (std::vector<long>{40, 40}));
    EXPECT_EQ(f.Record(3).flags, 0x10u);
    EXPECT_EQ(f.Record(3).pressState, 0);
}

TEST_F(UpdateTest, MatrixRowsLandAtRingPositions) {
    const std::vector<uint8_t> cells = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
    const DeviceEntry row = MatrixRowEntry(7, cells, {}, 0x77, 5);
    EXPECT_EQ(row.bytes.size(), 20u);
    ASSERT_EQ(Apply(EncodeMatrixRows({row})), kSuccess);
    EXPECT_EQ(Cell(7, 5), 1u);
    EXPECT_EQ(Cell(7, 10 + 5), 2u);
    EXPECT_EQ(Cell(7, 20 + 5), 3u);
    EXPECT_EQ(Cell(7, 4), 0u);
    EXPECT_EQ(f.Record(7).cursorWord, 0x77u);
    EXPECT_TRUE(f.store.IsValueUpdated(7));

    // At or past rowCount: no cell is written, the cursor still is.
    const std::vector<uint8_t> before = f.Record(7).cells;
    ASSERT_EQ(Apply(EncodeMatrixRows({MatrixRowEntry(7, cells, {}, 0x78, 10),
                                      MatrixRowEntry(7, cells, {}, 0x79, 0xFFFFFFFF)})),
              kSuccess);
    EXPECT_EQ(f.Record(7).cells, before);
    EXPECT_EQ(f.Record(7).cursorWord, 0x79u);
}

TEST_F(UpdateTest, MatrixRowLabelsAndShortRows) {
    ASSERT_EQ(Apply(EncodeMatrixRows({MatrixRowEntry(17, {1, 0, 2, 0}, {9, 0}, 1, 3)})), kSuccess);
    const ControlRecord& m = f.Record(17);
    ASSERT_EQ(m.textPart.size(), 8u);
    EXPECT_EQ(m.cells[6], 1);    // element 3 of column 0, 2-byte cells
    EXPECT_EQ(m.cells[14], 2);   // element 4 + 3
    EXPECT_EQ(m.textPart[6], 9); // label element 3
    // A row carrying only one of two cells writes only that cell.
    ASSERT_EQ(Apply(EncodeMatrixRows({MatrixRowEntry(17, {5, 0}, {}, 2, 0)})), kSuccess);
    EXPECT_EQ(m.cells[0], 5);
    EXPECT_EQ(m.cells[8], 0);
    EXPECT_EQ(m.cursorWord, 2u);
}

// Cell width code 3 carries no cells, in a description as in a row: a row is its label, the
// cursor word and the position.
TEST(MatrixRowsTest, RowOfCellWidthThreeIsLabelOnly) {
    StoreFixture f;
    const std::vector<uint8_t> noCellsTwoDates(2 * 8 + 4, 0);
    ASSERT_EQ(f.Load({DeviceControl('M', 0x00330000, 18)
                          .U32('n', 2)
                          .U32('N', 2)
                          .ValueBytes(noCellsTwoDates)}),
              kSuccess);
    ASSERT_EQ(f.Record(18).cellsSize, 0u);
    const std::vector<uint8_t> date = {1, 2, 3, 4, 5, 6, 0xE8, 0x07};
    const DeviceMessage rows = EncodeMatrixRows({MatrixRowEntry(18, {}, date, 9, 1)});
    MemoryReader in(rows.payload);
    ASSERT_EQ(ApplyMatrixRows(in, f.store, f.reporter), kSuccess);
    const ControlRecord& m = f.Record(18);
    EXPECT_EQ(std::vector<uint8_t>(m.textPart.begin() + 8, m.textPart.end()), date);
    EXPECT_EQ(m.cursorWord, 9u);
}

TEST_F(UpdateTest, MatrixRowsForAnotherKindEndTheMessage) {
    EXPECT_EQ(
        Apply(EncodeMatrixRows({MatrixRowEntry(555, {}, {}, 1, 0), MatrixRowEntry(6, {}, {}, 1, 0),
                                MatrixRowEntry(7, {}, {}, 1, 0)})),
        kWrongKind);
    EXPECT_EQ(f.reporter.values, std::vector<long>{kRecordNumber});
    EXPECT_EQ(f.Record(7).cursorWord, 0u);
}

} // namespace
} // namespace ksv

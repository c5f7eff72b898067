#include "decoder_test_support.h"

#include "link/frame.h"
#include "link/panel_budget.h"
#include "platform/device_settings.h"
#include "platform/memory_settings_store.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstring>

namespace ksv {
namespace {

using decoder_testing::Bytes;
using decoder_testing::RecordingReporter;
using decoder_testing::StoreFixture;

constexpr uint32_t kWide = 0x00000004;

std::u16string TextOf(const ControlRecord& record) {
    return record.text.substr(0, record.TextLength());
}

TEST(DecodePanelDescription, DecodesEveryKnownTagWithItsDefaults) {
    StoreFixture f;
    ASSERT_EQ(f.Load({
                  DeviceControl('T', 0, 1).ValueText(u"Hi").Caption(u"Name").U32('m', 10),
                  DeviceControl('B', 0, 2).ValueByte(1).Caption(u"Go"),
                  DeviceControl('G', 0, 3).ValueByte(1).U32('r', 4).Colour(0x000000FF),
                  DeviceControl('S', 0, 4).ValueByte(0),
                  DeviceControl('D', 0x00010000, 5)
                      .ValueBytes({1, 2, 3, 4, 5, 6, 0xE8, 0x07})
                      .String('f', u"hh:mm"),
                  DeviceControl('N', 0, 6).ValueU32(0xFFFFFFFE).U32('x', 100).Byte('d', 2),
                  DeviceControl('P', 0, 8).ValueByte(0),
                  DeviceControl('L', 0, 9).ValueU32(2).U32('n', 3),
                  DeviceControl('X', 0, 10).ValueText(u"Sure?").U32('m', 8).Colour(0x123456),
                  DeviceControl('F', 0, 12).ValueBytes({9, 9, 9}).Caption(u"Log"),
                  DeviceControl('I', 0, 14).ValueBytes({'G', 'I', 'F'}),
                  DeviceControl('Q', 0x40, 99).ValueByte(7).Caption(u"ignored"),
              }),
              kSuccess);
    ASSERT_EQ(f.store.GetControlCount(), 12u);
    EXPECT_TRUE(f.reporter.values.empty());

    const ControlRecord& text = f.Record(1);
    EXPECT_EQ(text.kind, kRecordText);
    EXPECT_EQ(text.caption, u"Name");
    EXPECT_EQ(text.maxBytes, 10u);
    EXPECT_EQ(text.text.size() * 2, 20u); // narrow: maxBytes characters
    EXPECT_EQ(TextOf(text), u"Hi");
    EXPECT_EQ(text.colour, 0x00FFFFFFu);

    EXPECT_EQ(f.Record(2).pressState, 1);
    EXPECT_EQ(f.Record(2).colour, 0x00C0C0C0u);
    EXPECT_EQ(f.Record(3).group, 4u);
    EXPECT_EQ(f.Record(3).colour, 0x000000FFu);
    EXPECT_EQ(f.Record(5).format, u"hh:mm");
    EXPECT_EQ(f.Record(5).dateTime[6], 0xE8);
    EXPECT_EQ(f.Record(5).colour, 0x00C0C0C0u); // grey by flags bit 16
    EXPECT_EQ(f.Record(6).number, -2);
    EXPECT_EQ(f.Record(6).format, u"%%");
    EXPECT_EQ(f.Record(6).paramX, 100u);
    EXPECT_EQ(f.Record(6).paramD, 2);
    EXPECT_EQ(f.Record(6).colour, 0x00FFFFFFu);
    EXPECT_EQ(f.Record(9).selection, 2);
    EXPECT_EQ(f.Record(9).items, std::u16string(3, u'\0'));
    EXPECT_EQ(f.Record(10).maxChars, 8u);
    EXPECT_EQ(f.Record(10).text.size(), 8u);
    EXPECT_EQ(TextOf(f.Record(10)), u"Sure?");
    EXPECT_EQ(f.Record(10).colour, 0u); // a message box reads no colour
    EXPECT_EQ(f.Record(12).caption, u"Log");
    EXPECT_TRUE(f.Record(12).fileName.empty());
    EXPECT_EQ(f.Record(14).data, (std::vector<uint8_t>{'G', 'I', 'F'}));
    EXPECT_EQ(f.Record(14).capacity, 3u);

    const ControlRecord& unknown = f.Record(99);
    EXPECT_EQ(unknown.kind, kRecordUnknown);
    EXPECT_EQ(unknown.flags, 0x40u);
    EXPECT_TRUE(unknown.caption.empty());
    EXPECT_EQ(unknown.colour, 0u);
}

TEST(DecodePanelDescription, WideStringsAndLastDuplicateFieldWins) {
    StoreFixture f;
    ASSERT_EQ(f.Load({DeviceControl('T', kWide, 1)
                          .ValueText(u"\u20ACx")
                          .Caption(u"first")
                          .U32('m', 8)
                          .Caption(u"\u0416second")}),
              kSuccess);
    const ControlRecord& text = f.Record(1);
    EXPECT_EQ(text.caption, u"\u0416second");
    EXPECT_EQ(text.text.size(), 4u); // 8 bytes wide
    EXPECT_EQ(TextOf(text), u"\u20ACx");
}

TEST(DecodePanelDescription, WrongValueLengthKeepsBareRecordAndGoesOn) {
    StoreFixture f;
    ASSERT_EQ(f.Load({
                  DeviceControl('B', 0, 1).ValueBytes({1, 1}).Caption(u"Bad"),
                  DeviceControl('L', 0, 2).ValueBytes({5, 0}).Caption(u"List"),
                  DeviceControl('N', 0, 3).ValueU32(42).Caption(u"Fine"),
              }),
              kSuccess);
    EXPECT_EQ(f.reporter.values, (std::vector<long>{2, 2}));
    EXPECT_EQ(f.reporter.modules[0], kLinkModule);
    const ControlRecord& button = f.Record(1);
    EXPECT_EQ(button.kind, kRecordButton);
    EXPECT_TRUE(button.caption.empty());
    EXPECT_EQ(button.pressState, 0);
    EXPECT_EQ(button.colour, 0u);
    // A list goes on with the length as received.
    EXPECT_EQ(f.Record(2).caption, u"List");
    EXPECT_EQ(f.Record(2).selection, 5);
    EXPECT_EQ(f.Record(3).caption, u"Fine");
    EXPECT_EQ(f.Record(3).number, 42);
}

TEST(DecodePanelDescription, MissingRequiredFieldsAreReportedWithZero) {
    StoreFixture f;
    ASSERT_EQ(f.Load({
                  DeviceControl('T', 0, 1).ValueText(u"abc"),
                  DeviceControl('X', 0, 2).ValueText(u"abc"),
                  DeviceControl('O', 0, 3).ValueBytes({1, 2}),
                  DeviceControl('D', 0, 4).ValueBytes(std::vector<uint8_t>(8, 1)),
              }),
              kSuccess);
    EXPECT_EQ(f.reporter.values, (std::vector<long>{0, 0, 0, 0}));
    EXPECT_EQ(f.store.GetControlCount(), 4u);
    EXPECT_EQ(f.Record(1).maxBytes, 0u);
    EXPECT_TRUE(f.Record(1).text.empty());
    EXPECT_EQ(f.Record(3).capacity, 0u);
    EXPECT_EQ(f.Record(3).length, 0u); // never more than the buffer
    EXPECT_TRUE(f.Record(4).format.empty());
}

TEST(DecodePanelDescription, BlobsPlainAndText) {
    StoreFixture f;
    ASSERT_EQ(f.Load({
                  DeviceControl('O', 0, 1).ValueBytes({1, 2, 3}).U32('m', 5),
                  DeviceControl('O', 0x00010000, 2).ValueText(u"ab\u00E9").U32('m', 4),
                  DeviceControl('O', 0x00010000, 3).ValueText(u"ab").U32('m', 4).U32('n', 1),
                  DeviceControl('O', 0, 4).ValueBytes({1, 2, 3}).U32('m', 2).U32('n', 9),
              }),
              kSuccess);
    EXPECT_EQ(f.Record(1).capacity, 5u);
    EXPECT_EQ(f.Record(1).length, 3u);
    EXPECT_EQ(f.Record(1).data, (std::vector<uint8_t>{1, 2, 3, 0, 0}));

    const ControlRecord& text = f.Record(2);
    EXPECT_EQ(text.capacity, 8u);
    EXPECT_EQ(text.length, 6u);
    std::u16string held(3, u'\0');
    std::memcpy(&held[0], text.data.data(), 6);
    EXPECT_EQ(held, u"ab\u00E9");

    EXPECT_EQ(f.Record(3).length, 2u); // n doubled for a text blob
    EXPECT_EQ(f.Record(4).length, 2u); // n beyond the capacity is cut to it
    EXPECT_EQ(f.Record(4).data.size(), 2u);
}

TEST(DecodePanelDescription, MatrixBlobSplitsCellsTextAndCursor) {
    StoreFixture f;
    std::vector<uint8_t> blob;
    for (uint16_t cell = 1; cell <= 6; ++cell) {
        PutU16(blob, cell); // rows 3, columns 2, two-byte cells: 12 bytes
    }
    PutBytes(blob, "xyz", 3);
    PutU32(blob, 0xCAFE);
    std::vector<uint8_t> textBlob(12, 0);
    PutBytes(textBlob, "\x80q", 2);
    PutU32(textBlob, 7);
    ASSERT_EQ(f.Load({
                  DeviceControl('M', 0x00100000, 7)
                      .ValueBytes(blob)
                      .U32('n', 3)
                      .U32('N', 2)
                      .String('a', u"x")
                      .Byte('D', 5)
                      .Byte('d', 6),
                  DeviceControl('M', 0x00120000, 8).ValueBytes(textBlob).U32('n', 3).U32('N', 2),
              }),
              kSuccess);
    const ControlRecord& m = f.Record(7);
    EXPECT_EQ(m.cellsSize, 12u);
    EXPECT_EQ(m.textSize, 3u);
    EXPECT_EQ(m.cursorWord, 0xCAFEu);
    EXPECT_EQ(m.cells, std::vector<uint8_t>(blob.begin(), blob.begin() + 12));
    EXPECT_EQ(m.textPart, Bytes("xyz"));
    EXPECT_EQ(m.stringF, u" ");
    EXPECT_EQ(m.stringBigF, u" ");
    EXPECT_EQ(m.stringA, u"x");
    EXPECT_EQ(m.stringBigA, std::u16string(2, u'\0'));
    EXPECT_EQ(m.byteBigD, 5);
    EXPECT_EQ(m.byteD, 6);

    // Text labels of narrow strings are held as UTF-16.
    const ControlRecord& labels = f.Record(8);
    EXPECT_EQ(labels.textSize, 2u);
    ASSERT_EQ(labels.textPart.size(), 4u);
    std::u16string held(2, u'\0');
    std::memcpy(&held[0], labels.textPart.data(), 4);
    EXPECT_EQ(held, u"\u20ACq");
}

TEST(DecodePanelDescription, MatrixBlobShorterThanItsCellsIsTakenSafely) {
    StoreFixture f;
    ASSERT_EQ(f.Load({
                  DeviceControl('M', 0, 1).ValueBytes({1, 2, 3, 4, 5}).U32('n', 2).U32('N', 2),
                  DeviceControl('M', 0, 2).U32('n', 0xFFFFFFFF).U32('N', 0xFFFFFFFF),
              }),
              kSuccess);
    const ControlRecord& shortBlob = f.Record(1);
    EXPECT_EQ(shortBlob.cellsSize, 16u);
    EXPECT_EQ(shortBlob.cells.size(), 16u);
    EXPECT_EQ(shortBlob.cells[4], 5);
    EXPECT_EQ(shortBlob.cells[5], 0);
    EXPECT_EQ(shortBlob.textSize, 0u);
    EXPECT_EQ(shortBlob.cursorWord, 0u);

    // Cells neither carried nor plausible: reported, and the control has no rows.
    const ControlRecord& huge = f.Record(2);
    EXPECT_EQ(huge.rowCount, 0u);
    EXPECT_EQ(huge.cellsSize, 0u);
    EXPECT_TRUE(huge.cells.empty());
    EXPECT_EQ(f.reporter.values.size(), 1u);
    EXPECT_EQ(huge.stringBigA.size(), kMaxDefaultChars); // default buffer capped
}

TEST(DecodePanelDescription, InnerLengthsPastTheRecordStayInside) {
    StoreFixture f;
    DeviceControl longCaption = DeviceControl('B', 0, 1).ValueByte(1).Colour(5).Caption(u"ab");
    longCaption.FieldLength(1000);
    DeviceControl longValue = DeviceControl('T', 0, 2).ValueText(u"abcdef").ValueLength(5000);
    DeviceControl manyTags = DeviceControl('S', 0, 3).ValueByte(1).Caption(u"ok");
    std::vector<uint8_t> manyTagsBytes = manyTags.Encode();
    manyTagsBytes[19] = 0xFF; // field count's top byte: about 4 billion tags
    DeviceMessage message = EncodePanelDescriptionRecords(
        4, {longCaption.Encode(), longValue.Encode(), manyTagsBytes, {'B', 0, 1}});
    PutU32(message.payload, 0); // a fifth record would follow; the count says four
    MemoryReader in(message.payload);
    ASSERT_EQ(DecodePanelDescription(in, f.store, f.reporter), kSuccess);
    ASSERT_EQ(f.store.GetControlCount(), 4u);

    EXPECT_TRUE(f.Record(1).caption.empty());
    EXPECT_EQ(f.Record(1).colour, 5u);   // the entry before the bad one is still read
    EXPECT_EQ(TextOf(f.Record(2)), u""); // no 'm' left: reported, empty text
    EXPECT_EQ(f.Record(3).kind, kRecordSection);
    EXPECT_EQ(f.store.LockStore().Records()[3].kind, kRecordUnknown); // 3 bytes: no header
    EXPECT_EQ(f.reporter.values, (std::vector<long>{0, 3}));
}

TEST(DecodePanelDescription, EmptyPanelReplacesThePreviousOne) {
    StoreFixture f;
    ASSERT_EQ(f.Load({DeviceControl('B', 0, 1).ValueByte(0)}), kSuccess);
    ASSERT_EQ(f.Load({}), kSuccess);
    EXPECT_EQ(f.store.GetControlCount(), 0u);
    EXPECT_TRUE(f.reporter.messages.empty());
}

// Samples the heap at every read, so an allocation made ahead of the bytes shows.
class PeakTrackingReader : public ByteReader {
public:
    explicit PeakTrackingReader(const std::vector<uint8_t>& bytes) : m_inner(bytes) {}

    ResultCode ReadBytes(void* buffer, uint32_t length) override {
        const struct mallinfo2 info = mallinfo2();
        peak = std::max(peak, info.uordblks + info.hblkhd);
        return m_inner.ReadBytes(buffer, length);
    }

    size_t peak = 0;

private:
    MemoryReader m_inner;
};

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(DecodePanelDescription, LyingCountsAllocateOnlyWhatArrives) {
    StoreFixture f;
    ASSERT_EQ(f.Load({DeviceControl('B', 0, 1).ValueByte(0).Caption(u"old")}), kSuccess);

    const std::vector<uint8_t> record = DeviceControl('S', 0, 2).ValueByte(1).Encode();
    const DeviceMessage lyingCount = EncodePanelDescriptionRecords(0xFFFFFFFF, {record, record});
    std::vector<uint8_t> lyingLength; // one record announcing nearly 4 GiB
    const std::vector<uint8_t>& lyingCountBytes = lyingCount.payload;
    PutU32(lyingLength, 1);
    PutU32(lyingLength, 0xFFFFFFF0);
    lyingLength.resize(lyingLength.size() + 100000, 0x41);

    for (const std::vector<uint8_t>* payload :
         {&lyingCountBytes, static_cast<const std::vector<uint8_t>*>(&lyingLength)}) {
        const size_t before = HeapInUse();
        PeakTrackingReader in(*payload);
        EXPECT_EQ(DecodePanelDescription(in, f.store, f.reporter), kPanelTooLarge);
        EXPECT_LT(in.peak, before + 4 * 1024 * 1024);
        EXPECT_EQ(f.store.GetControlCount(), 1u);
        EXPECT_EQ(f.Record(1).caption, u"old");
    }
}

TEST(DecodePanelDescription, AnnouncedBufferSizesAreCapped) {
    StoreFixture f;
    ASSERT_EQ(f.Load({DeviceControl('T', 0, 1).U32('m', 0xFFFFFFFF),
                      DeviceControl('X', 0, 2).U32('m', 0xFFFFFFFF),
                      DeviceControl('O', 0, 3).U32('m', 0xFFFFFFFF).U32('n', 0xFFFFFFFF),
                      DeviceControl('L', 0, 4).ValueU32(0).U32('n', 0xFFFFFFFF)}),
              kSuccess);
    EXPECT_EQ(f.Record(1).maxBytes, kMaxTextBuffer);
    EXPECT_EQ(f.Record(1).text.size(), kMaxTextBuffer);
    EXPECT_EQ(f.Record(2).text.size(), kMaxTextBuffer);
    EXPECT_EQ(f.Record(3).capacity, kMaxRecordBuffer);
    EXPECT_EQ(f.Record(3).length, kMaxRecordBuffer);
    EXPECT_EQ(f.Record(4).items.size(), kMaxDefaultChars);
}

TEST(DecodePanelDescription, OversizedImageRefusesThePanel) {
    StoreFixture f;
    ASSERT_EQ(f.Load({DeviceControl('B', 0, 1).ValueByte(0)}), kSuccess);
    EXPECT_NE(f.Load({DeviceControl('I', 0, 2).ValueBytes(std::vector<uint8_t>(0x100000, 1))}),
              kSuccess);
    EXPECT_EQ(f.reporter.messages, std::vector<std::u16string>{u"Bluetooth driver error"});
    EXPECT_EQ(f.reporter.quitRequests, 1);
    EXPECT_EQ(f.Record(1).kind, kRecordButton);

    StoreFixture g;
    EXPECT_NE(g.Load({DeviceControl('I', kWide, 2).Caption(std::u16string(0x10000, u'a'))}),
              kSuccess);
    EXPECT_EQ(g.reporter.quitRequests, 1);
    ASSERT_EQ(g.Load({DeviceControl('I', kWide, 3)
                          .ValueBytes(std::vector<uint8_t>(0xFFFFF, 1))
                          .Caption(std::u16string(0xFFFF, u'a'))}),
              kSuccess);
    EXPECT_EQ(g.Record(3).length, 0xFFFFFu);
}

TEST(DecodeHelloReply, NarrowAndWideNamesAndFlags) {
    HelloReply reply;
    DeviceMessage narrow = EncodeHelloReply(u"Pump \u00E9", false, kHelloPingsOff, u"extra");
    MemoryReader in(narrow.payload);
    ASSERT_EQ(DecodeHelloReply(in, narrow.flags, reply), kSuccess);
    EXPECT_EQ(reply.deviceName, std::u16string(u"Pump \u00E9"));
    EXPECT_FALSE(reply.pingsEnabled);
    EXPECT_FALSE(reply.keepPanelOnGoodbye);
    EXPECT_EQ(in.Remaining(), 0u);

    DeviceMessage wide = EncodeHelloReply(u"\u0416ar", true, kHelloKeepPanel);
    EXPECT_EQ(wide.payload[0], 6); // n bytes, n/2 characters
    MemoryReader wideIn(wide.payload);
    ASSERT_EQ(DecodeHelloReply(wideIn, wide.flags, reply), kSuccess);
    EXPECT_EQ(reply.deviceName, std::u16string(u"\u0416ar"));
    EXPECT_TRUE(reply.pingsEnabled);
    EXPECT_TRUE(reply.keepPanelOnGoodbye);
}

TEST(DecodeHelloReply, ReadFailureLeavesTheNameUnset) {
    HelloReply reply;
    reply.deviceName = u"old";
    std::vector<uint8_t> payload;
    PutU32(payload, 10);
    PutBytes(payload, "abc", 3);
    MemoryReader in(payload);
    EXPECT_EQ(DecodeHelloReply(in, 0, reply), kLinkClosed);
    EXPECT_FALSE(reply.deviceName.has_value());
}

// A panel of `count` buttons with the ids 1 to count.
std::vector<DeviceControl> Buttons(uint32_t count) {
    std::vector<DeviceControl> controls;
    for (uint32_t id = 1; id <= count; ++id)
        controls.push_back(DeviceControl('B', 0, id).ValueByte(0));
    return controls;
}

struct LayoutFixture : StoreFixture {
    MemorySettingsStore settings;
    DeviceSettings device{settings, [] { return std::u16string(u"Pump"); }};

    ResultCode Decode(const std::vector<uint8_t>& payload) {
        MemoryReader in(payload);
        return DecodeLayoutEntries(in, store, device, reporter);
    }
    int32_t Stored(uint32_t id, uint32_t attribute) {
        return settings.GetProfileInt(u"Pump", DeviceKey(id, attribute), -1);
    }
};

TEST(DecodeLayoutEntries, StoresWhatCanBeReadAndClearsAttributeZero) {
    LayoutFixture f;
    ASSERT_EQ(f.Load({DeviceControl('N', 0, 0x12).ValueU32(0)}), kSuccess);
    const DeviceMessage message = EncodeLayoutEntries({
        {0x12, 256, 7},       // x of the number
        {0x12, 576, 3},       // a number's own attribute
        {0x12, 257, 5},       // an open placement: Section and Password only
        {0x12, 3, 5},         // no such attribute
        {0, 768, 9},          // the ping period
        {0, 5, 9},            // no device-wide value 5
        {0xFFFFFF00, 272, 8}, // y of "Close"
        {0xFFFFFF00, 384, 8}, // a page-bar button has no border
    });
    ASSERT_EQ(f.Decode(message.payload), kSuccess);
    EXPECT_EQ(f.Stored(0x12, 256), 7);
    EXPECT_EQ(f.Stored(0x12, 576), 3);
    EXPECT_EQ(f.Stored(0x12, 0), 0);
    EXPECT_EQ(f.Stored(0, 768), 9);
    EXPECT_EQ(f.Stored(0xFFFFFF00, 272), 8);
    EXPECT_EQ(f.Stored(0xFFFFFF00, 0), 0);
    EXPECT_EQ(f.settings.EntryCount(), 6u);
    EXPECT_TRUE(f.reporter.values.empty());

    std::vector<uint8_t> cut(message.payload.begin(), message.payload.end() - 4);
    EXPECT_EQ(f.Decode(cut), kLinkClosed);
    EXPECT_TRUE(f.reporter.values.empty());
}

// Each write used to rewrite the whole file: a long layout took quadratic time.
TEST(DecodeLayoutEntries, CommitsAWholeMessageOnceEvenWhenItBreaksOffAndNothingWhenUnchanged) {
    std::vector<LayoutEntry> entries;
    for (uint32_t i = 1; i <= 2000; ++i)
        entries.push_back({i, 256, static_cast<uint32_t>(i)});
    const DeviceMessage message = EncodeLayoutEntries(entries);
    for (size_t cutBytes : {size_t{0}, size_t{6000}}) {
        LayoutFixture f;
        ASSERT_EQ(f.Load(Buttons(2000)), kSuccess);
        std::vector<uint8_t> payload(message.payload.begin(), message.payload.end() - cutBytes);
        f.Decode(payload);
        EXPECT_EQ(f.settings.CommitCount(), 1u) << cutBytes;
        EXPECT_EQ(f.settings.EntryCount(), 2 * (2000 - cutBytes / 12)) << cutBytes;
        f.Decode(payload);
        EXPECT_EQ(f.settings.CommitCount(), 1u) << cutBytes;
    }
}

TEST(DecodeLayoutEntries, RefusesAndReportsEntriesPastTheCapButReadsThemAll) {
    LayoutFixture f;
    std::vector<LayoutEntry> entries(kMaxLayoutEntries + 3);
    for (uint32_t i = 0; i < entries.size(); ++i)
        entries[i] = {0, 768, i};
    DeviceMessage message = EncodeLayoutEntries(entries);
    message.payload.push_back(0x5A); // the next frame's first byte
    MemoryReader in(message.payload);
    ASSERT_EQ(DecodeLayoutEntries(in, f.store, f.device, f.reporter), kSuccess);
    EXPECT_EQ(f.Stored(0, 768), static_cast<int32_t>(kMaxLayoutEntries - 1));
    EXPECT_EQ(f.reporter.values, std::vector<long>{3});
    EXPECT_EQ(in.Remaining(), 1u);
}

// A flood of new keys for real controls stops at the section's bound; the layout already
// stored keeps being updated, so it survives the flood.
TEST(DecodeLayoutEntries, AFullSectionRefusesNewEntriesButUpdatesStoredOnes) {
    LayoutFixture f;
    ASSERT_EQ(
        f.Load({DeviceControl('S', 0, 1).ValueByte(0), DeviceControl('S', 0, 2).ValueByte(0)}),
        kSuccess);
    f.device.WriteDeviceInt(1, 256, 10);
    f.device.WriteDeviceInt(1, 0, 0);
    for (uint32_t i = f.settings.EntryCount(); i < kMaxDeviceSectionEntries; ++i)
        f.settings.WriteProfileInt(u"Pump", "filler" + std::to_string(i), 0);
    ASSERT_EQ(f.Decode(EncodeLayoutEntries({{1, 256, 20}, {2, 257, 30}}).payload), kSuccess);
    EXPECT_EQ(f.Stored(1, 256), 20);
    EXPECT_EQ(f.Stored(2, 257), -1);
    EXPECT_EQ(f.settings.EntryCount(), kMaxDeviceSectionEntries);
    EXPECT_EQ(f.reporter.values, std::vector<long>{1});
}

} // namespace
} // namespace ksv

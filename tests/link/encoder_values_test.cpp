#include "decoder_test_support.h"

#include "link/frame.h"
#include "link/value_encoder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ksv {
namespace {

using decoder_testing::StoreFixture;

constexpr uint32_t kWide = 0x00000004;

// One decoded entry of a Values payload.
struct SentEntry {
    uint32_t id;
    std::vector<uint8_t> value;
};

std::vector<SentEntry> Entries(const std::vector<uint8_t>& payload, uint32_t* count) {
    std::vector<SentEntry> out;
    *count = GetU32(payload.data());
    for (size_t at = 4; at + 8 <= payload.size();) {
        const uint32_t length = GetU32(payload.data() + at + 4);
        out.push_back(
            {GetU32(payload.data() + at),
             std::vector<uint8_t>(payload.begin() + at + 8, payload.begin() + at + 8 + length)});
        at += 8 + length;
    }
    return out;
}

class EncoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(f.Load({
                      DeviceControl('T', 0, 1).ValueText(u"x").U32('m', 8),
                      DeviceControl('T', kWide, 2).ValueText(u"wi").U32('m', 6),
                      DeviceControl('B', 0, 3).ValueByte(0),
                      DeviceControl('N', 0, 6).ValueU32(0),
                      DeviceControl('P', 0, 8).ValueByte(0),
                      DeviceControl('P', kWide, 18).ValueByte(0),
                      DeviceControl('X', 0, 10).U32('m', 4),
                      DeviceControl('O', 0x00010000, 11).ValueText(u"h\u00E9llo").U32('m', 4),
                      DeviceControl('O', 0, 21).ValueBytes({7, 8, 9}).U32('m', 8),
                      DeviceControl('F', 0, 12),
                      DeviceControl('M', 0, 7),
                      DeviceControl('Q', 0, 13),
                  }),
                  kSuccess);
    }

    std::vector<SentEntry> Encode(ResultCode expected = kSuccess) {
        const StoreLock lock(f.store);
        payload.clear();
        EXPECT_EQ(EncodeChangedValues(lock, f.reporter, payload), expected);
        return Entries(payload, &count);
    }

    StoreFixture f;
    std::vector<uint8_t> payload;
    uint32_t count = 0;
};

TEST_F(EncoderTest, NothingMarkedSendsCountZero) {
    EXPECT_TRUE(Encode().empty());
    EXPECT_EQ(payload, std::vector<uint8_t>(4, 0));
}

TEST_F(EncoderTest, ButtonPressSendsOneAndResets) {
    const uint8_t press = 1;
    f.store.SetControlValue(3, &press, 1);
    const auto entries = Encode();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, 3u);
    EXPECT_EQ(entries[0].value, std::vector<uint8_t>{1});
    EXPECT_EQ(f.Record(3).pressState, 0);
    EXPECT_EQ(f.Record(3).toSend, 0);
    EXPECT_TRUE(Encode().empty()); // marks are cleared once sent
}

TEST_F(EncoderTest, TextFieldsKeepTheirWireSize) {
    const char16_t narrow[] = u"abcdefghij";
    f.store.SetControlValue(1, narrow, sizeof narrow);
    const char16_t wide[] = u"xyz";
    f.store.SetControlValue(2, wide, sizeof wide);
    const auto entries = Encode();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value, decoder_testing::Bytes(std::string("abcdefg\0", 8)));
    EXPECT_EQ(entries[1].value, (std::vector<uint8_t>{'x', 0, 'y', 0, 'z', 0}));
}

TEST_F(EncoderTest, EveryKindInListOrder) {
    const int32_t number = -3;
    f.store.SetControlValue(6, &number, 4);
    const uint8_t answer = 2;
    f.store.SetControlValue(10, &answer, 1);
    f.store.SetControlValue(12, nullptr, 0);
    f.Record(11).toSend = 1;
    f.Record(21).toSend = 1;
    const auto entries = Encode();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(entries[0].value, (std::vector<uint8_t>{0xFD, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(entries[1].value, std::vector<uint8_t>{2});
    // A text blob of capacity 8 holds four characters and sends capacity/2 narrow bytes.
    EXPECT_EQ(entries[2].value, decoder_testing::Bytes("h\xE9ll"));
    EXPECT_EQ(entries[3].value, (std::vector<uint8_t>{7, 8, 9}));
    EXPECT_EQ(entries[4].id, 12u);
    EXPECT_TRUE(entries[4].value.empty());
}

TEST_F(EncoderTest, PasswordFieldsAreThirtyFourBytes) {
    const std::u16string first = u"correct horse battery staple and more";
    const std::u16string second = u"n\u20AC";
    f.Record(8).sendText1 = &first;
    f.Record(8).sendText2 = &second;
    f.Record(8).toSend = 1;
    f.Record(18).sendText1 = &first;
    f.Record(18).toSend = 1;
    const auto entries = Encode();
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(entries[0].value.size(), 68u);
    const std::vector<uint8_t>& narrow = entries[0].value;
    EXPECT_EQ(std::string(narrow.begin(), narrow.begin() + 34),
              std::string("correct horse battery staple and ") + '\0');
    EXPECT_EQ(std::string(narrow.begin() + 34, narrow.begin() + 38), std::string("n\x80\0\0", 4));

    const std::vector<uint8_t>& wide = entries[1].value;
    ASSERT_EQ(wide.size(), 68u);
    std::u16string held(17, u'?');
    std::memcpy(&held[0], wide.data(), 34);
    EXPECT_EQ(held, u"correct horse ba" + std::u16string(1, u'\0'));
    EXPECT_EQ(std::vector<uint8_t>(wide.begin() + 34, wide.end()), std::vector<uint8_t>(34, 0));
}

TEST_F(EncoderTest, UnsendableKindEndsTheFrame) {
    f.Record(6).toSend = 1;
    f.Record(7).toSend = 1;
    f.Record(13).toSend = 1;
    const auto entries = Encode(kNotApplicable);
    EXPECT_EQ(count, 3u);
    ASSERT_EQ(entries.size(), 1u); // the number, then the chart stops it
    EXPECT_EQ(f.reporter.values, std::vector<long>{kRecordMatrix});
    EXPECT_EQ(f.Record(7).toSend, 0);
    EXPECT_EQ(f.Record(13).toSend, 1);
}

TEST(NarrowTextField, ZeroSizedFieldStaysEmpty) {
    EXPECT_TRUE(EncodeNarrowTextField(u"abc", 0).empty());
    EXPECT_EQ(EncodeNarrowTextField(u"abc", 1), std::vector<uint8_t>{0});
    EXPECT_EQ(EncodeNarrowTextField(u"a\u0416", 4), (std::vector<uint8_t>{'a', '?', 0, 0}));
}

} // namespace
} // namespace ksv

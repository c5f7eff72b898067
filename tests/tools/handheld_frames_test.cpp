#include "handheld_frames.h"

#include "link/frame.h"

#include <gtest/gtest.h>

namespace ksv::demo {
namespace {

std::vector<uint8_t> Frame(uint16_t kind, const std::vector<uint8_t>& payload = {}) {
    const auto prefix = EncodeFramePrefix(kind);
    std::vector<uint8_t> out(prefix.begin(), prefix.end());
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

std::vector<uint8_t>
ValuesPayload(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& entries) {
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(entries.size()));
    for (const auto& [id, bytes] : entries) {
        PutU32(out, id);
        PutU32(out, static_cast<uint32_t>(bytes.size()));
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

void Feed(HandheldFrameParser& parser, const std::vector<uint8_t>& bytes) {
    parser.Feed(bytes.data(), bytes.size());
}

TEST(HandheldFrameParser, SkipsGarbageAndReadsEveryKindItsWay) {
    HandheldFrameParser parser;
    std::vector<uint8_t> stream = {0x00, 0x5A, 0xE3, 0x13}; // noise, including a marker's start
    for (const auto& frame :
         {Frame(kMsgHello), Frame(kMsgLayoutRequest, {0x00, 0x01, 0x00, 0x00}),
          Frame(kMsgValuesToDevice, ValuesPayload({{5, {0xFF}}, {15, {}}, {18, {'a', 0}}})),
          Frame(kMsgGoodbyeFromHandheld)}) {
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    Feed(parser, stream);

    auto hello = parser.Next();
    ASSERT_TRUE(hello);
    EXPECT_EQ(hello->kind, kMsgHello);
    auto layout = parser.Next();
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->kind, kMsgLayoutRequest);
    EXPECT_EQ(layout->argument, 256u);
    auto values = parser.Next();
    ASSERT_TRUE(values);
    ASSERT_EQ(values->values.size(), 3u);
    EXPECT_EQ(values->values[0].id, 5u);
    EXPECT_EQ(values->values[0].bytes, std::vector<uint8_t>{0xFF});
    EXPECT_TRUE(values->values[1].bytes.empty());
    EXPECT_EQ(values->values[2].bytes, (std::vector<uint8_t>{'a', 0}));
    auto goodbye = parser.Next();
    ASSERT_TRUE(goodbye);
    EXPECT_EQ(goodbye->kind, kMsgGoodbyeFromHandheld);
    EXPECT_FALSE(parser.Next());
}

TEST(HandheldFrameParser, WaitsForFramesSplitAcrossReads) {
    HandheldFrameParser parser;
    const std::vector<uint8_t> frame =
        Frame(kMsgValuesToDevice, ValuesPayload({{3, {1, 2, 3, 4}}}));
    for (size_t i = 0; i + 1 < frame.size(); ++i) {
        parser.Feed(&frame[i], 1);
        ASSERT_FALSE(parser.Next()) << "complete after " << i + 1 << " bytes";
    }
    parser.Feed(&frame.back(), 1);
    auto values = parser.Next();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->values.at(0).bytes, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(parser.Buffered(), 0u);
}

TEST(HandheldFrameParser, DropsFramesThatMakeNoSenseAndResynchronises) {
    HandheldFrameParser parser;
    std::vector<uint8_t> stream = Frame(kMsgPanelDescription, {1, 2, 3}); // not a handheld kind
    std::vector<uint8_t> absurd;
    PutU32(absurd, 0xFFFFFFFF); // entry count nobody sends
    const auto huge = Frame(kMsgValuesToDevice, absurd);
    stream.insert(stream.end(), huge.begin(), huge.end());
    std::vector<uint8_t> longValue;
    PutU32(longValue, 1);
    PutU32(longValue, 7);
    PutU32(longValue, 0x7FFFFFFF); // a value length beyond any control
    const auto lying = Frame(kMsgValuesToDevice, longValue);
    stream.insert(stream.end(), lying.begin(), lying.end());
    const auto ping = Frame(kMsgPing);
    stream.insert(stream.end(), ping.begin(), ping.end());
    Feed(parser, stream);

    auto frame = parser.Next();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->kind, kMsgPing);
    EXPECT_FALSE(parser.Next());
}

TEST(HandheldFrameParser, ResetForgetsAHalfFrame) {
    HandheldFrameParser parser;
    const auto half = Frame(kMsgLayoutRequest, {0x00});
    Feed(parser, half);
    EXPECT_FALSE(parser.Next());
    parser.Reset();
    Feed(parser, Frame(kMsgHello));
    auto frame = parser.Next();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->kind, kMsgHello);
}

} // namespace
} // namespace ksv::demo

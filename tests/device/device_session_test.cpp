// The library's own behaviour over a session: replies, pings, the frame cap, and input that
// lies, breaks off or is garbage.
#include "device_harness.h"

#include "link/frame.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ksv::device_testing {
namespace {

// Buffers fenced by guard bytes that nothing may touch.
struct Fenced {
    uint8_t before[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    char text[8] = "init";
    uint8_t latch = 0;
    int32_t number = 0;
    uint8_t after[4] = {0xAA, 0xAA, 0xAA, 0xAA};
};

std::vector<ksvd_control> FencedPanel(Fenced& f) {
    return {
        ksvd_control{1, 0, 'G', 0, "Lamp", nullptr, &f.latch, 1},
        ksvd_control{2, 0, 'T', 0, "Note", nullptr, f.text, sizeof f.text},
        ksvd_control{3, 0, 'N', 0, "Count", nullptr, &f.number, sizeof f.number},
        ksvd_control{4, 0, 'M', 0, "Plot", nullptr, nullptr, 0},
    };
}

std::vector<uint8_t> Entry(uint32_t id, uint32_t length, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> out;
    PutU32(out, id);
    PutU32(out, length);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

std::vector<uint8_t> ValuesFrame(uint32_t count, const std::vector<uint8_t>& entries) {
    std::vector<uint8_t> payload;
    PutU32(payload, count);
    payload.insert(payload.end(), entries.begin(), entries.end());
    return HandheldFrame(kMsgValuesToDevice, payload);
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Kinds of the frames in a stream the library wrote.
std::vector<uint16_t> Kinds(const std::vector<uint8_t>& bytes) {
    Client client;
    std::vector<uint16_t> kinds;
    for (size_t at = 0; at + kFramePrefixSize <= bytes.size(); ++at) {
        if (std::equal(kSyncMarker.begin(), kSyncMarker.end(), bytes.begin() + at)) {
            kinds.push_back(GetU16(bytes.data() + at + 16));
        }
    }
    return kinds;
}

class Session : public ::testing::Test {
protected:
    Fenced values;
    Firmware firmware{FencedPanel(values)};

    void ExpectFencesWhole() {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(values.before[i], 0xAA);
            EXPECT_EQ(values.after[i], 0xAA);
        }
    }
};

TEST_F(Session, EveryHelloIsAnsweredWithTheWholePanelAndAFloodWithOne) {
    EXPECT_TRUE(firmware.Poll().empty()) << "nothing before Hello";
    const std::vector<uint8_t> hello = HandheldFrame(kMsgHello);
    firmware.Feed(hello + hello + hello + hello);
    EXPECT_EQ(Kinds(firmware.Poll()),
              (std::vector<uint16_t>{kMsgHelloReply, kMsgPanelDescription}));
    EXPECT_EQ(firmware.connects, 4);

    // The host reopening the port: the panel again, carrying the values as they are now.
    values.latch = 1;
    firmware.Feed(hello);
    Client client;
    EXPECT_EQ(client.Receive(firmware.Poll()),
              (std::vector<int32_t>{kArrivalDeviceName, kArrivalNewPanel}));
    EXPECT_EQ(client.Record(1)->latchState, 1);
}

TEST_F(Session, PingsBothWaysAndALinkGoneWhenTheDevicePingIsNotAnswered) {
    firmware.cfg.ping_period_ms = 1000;
    firmware.Connect();
    firmware.Feed(HandheldFrame(kMsgPing));
    EXPECT_EQ(Kinds(firmware.Poll(10)), std::vector<uint16_t>{kMsgPingReply});
    EXPECT_EQ(Kinds(firmware.Poll(1000)), std::vector<uint16_t>{kMsgDevicePing});
    firmware.Feed(HandheldFrame(kMsgPingReplyToDevice));
    EXPECT_EQ(Kinds(firmware.Poll(2000)), std::vector<uint16_t>{kMsgDevicePing});
    EXPECT_TRUE(firmware.Poll(2999).empty());
    EXPECT_TRUE(firmware.Poll(3000).empty()) << "no answer: the session ends, nothing is sent";
    EXPECT_EQ(firmware.disconnects, std::vector<uint8_t>{KSVD_END_NO_PING});
    EXPECT_EQ(ksvd_changed(&firmware.dev, 1), KSVD_OK);
    EXPECT_TRUE(firmware.Poll(3001).empty()) << "no values without a session";
    EXPECT_EQ(ksvd_send_style(&firmware.dev, 1, 0, 0), KSVD_ENOTCONN);
}

TEST_F(Session, ClockWrapDoesNotStopThePings) {
    firmware.cfg.ping_period_ms = 100;
    firmware.Feed(HandheldFrame(kMsgHello));
    firmware.Poll(0xFFFFFFF0u);
    EXPECT_EQ(Kinds(firmware.Poll(0x00000060u)), std::vector<uint16_t>{kMsgDevicePing});
}

TEST_F(Session, ChangedValuesGoInFramesUnderTheCapTheRestAtTheNextPoll) {
    firmware.cfg.max_frame = 20 + 4 + 9 + 16; // a latch and a text, not the number too
    Client client;
    firmware.Feed(HandheldFrame(kMsgHello));
    client.Receive(firmware.Poll());
    values.latch = 1;
    values.number = 8;
    ksvd_changed(&firmware.dev, 3);
    ksvd_changed(&firmware.dev, 2);
    ksvd_changed(&firmware.dev, 1);
    EXPECT_EQ(ksvd_changed(&firmware.dev, 99), KSVD_EUNKNOWN);
    const std::vector<uint8_t> first = firmware.Poll();
    EXPECT_LE(first.size(), firmware.cfg.max_frame);
    const std::vector<uint8_t> second = firmware.Poll();
    EXPECT_TRUE(firmware.Poll().empty());
    EXPECT_EQ(client.Receive(first + second),
              (std::vector<int32_t>{kArrivalValuesChanged, kArrivalValuesChanged}));
    EXPECT_EQ(client.Record(3)->number, 8);
    EXPECT_EQ(client.Record(1)->latchState, 1);
}

// Input that lies or breaks off, followed by a good frame that must still apply.
struct BadInput {
    const char* name;
    std::vector<uint8_t> bytes;
};

TEST_F(Session, BadInputIsSkippedAndTheNextFrameStillApplies) {
    const std::vector<uint8_t> marker(kSyncMarker.begin(), kSyncMarker.end());
    const std::vector<BadInput> rows = {
        {"garbage between frames", FromHex("00 5A E3 F1 11 22 63 FF")},
        {"a lying count", ValuesFrame(1000, Entry(3, 4, {9, 9, 9, 9}))},
        {"a lying length", ValuesFrame(1, Entry(2, 0xFFFFFFF0u, {'x', 'y'}))},
        {"a length past the next marker", ValuesFrame(1, Entry(2, 100, {'x', 'y', 'z'}))},
        {"an unknown id", ValuesFrame(1, Entry(77, 3, {1, 2, 3}))},
        {"a value for a chart", ValuesFrame(1, Entry(4, 2, {1, 2}))},
        {"a half frame, then a marker", marker + FromHex("000100000200")},
        {"a kind only devices send", HandheldFrame(kMsgPanelDescription, {1, 0, 0, 0})},
        {"a value far longer than its buffer",
         ValuesFrame(1, Entry(2, 40, std::vector<uint8_t>(40, 'L')))},
    };
    for (const BadInput& row : rows) {
        SCOPED_TRACE(row.name);
        firmware.values.clear();
        values.number = 0;
        firmware.Feed(row.bytes + ValuesFrame(1, Entry(3, 4, {5, 0, 0, 0})));
        EXPECT_EQ(values.number, 5);
        ExpectFencesWhole();
        EXPECT_LT(std::strlen(values.text), sizeof values.text);
    }
    EXPECT_STREQ(values.text, "LLLLLLL") << "the long value is cut to the buffer, terminated";
}

TEST_F(Session, AFrameCutShortLeavesTheBuffersAsTheyWere) {
    firmware.Feed(ValuesFrame(1, Entry(2, 8, {'n', 'e', 'w'})));
    firmware.Feed(HandheldFrame(kMsgHello));
    EXPECT_STREQ(values.text, "init");
    EXPECT_TRUE(firmware.values.empty());
    EXPECT_EQ(firmware.connects, 1);
}

TEST_F(Session, AnySplitOfTheStreamGivesTheSameResult) {
    const std::vector<uint8_t> stream =
        HandheldFrame(kMsgHello) +
        ValuesFrame(2, Entry(1, 1, {1}) + Entry(2, 8, {'s', 'p', 'l', 'i', 't', 0, 0, 0})) +
        HandheldFrame(kMsgLayoutRequest, {0, 1, 0, 0});
    for (size_t piece = 1; piece <= 7; ++piece) {
        Fenced fresh;
        Firmware split(FencedPanel(fresh));
        for (size_t at = 0; at < stream.size(); at += piece) {
            const size_t n = std::min(piece, stream.size() - at);
            ksvd_feed(&split.dev, stream.data() + at, n);
        }
        EXPECT_EQ(fresh.latch, 1) << piece;
        EXPECT_STREQ(fresh.text, "split") << piece;
        EXPECT_EQ(split.layoutRequests, std::vector<uint32_t>{256}) << piece;
    }
}

TEST_F(Session, LayoutRequestIsAnsweredWithTheAuthorsEntries) {
    static const ksvd_layout layout[] = {{0, 768, 7}, {1, 256, 3}};
    firmware.cfg.layout = layout;
    firmware.cfg.nlayout = 2;
    firmware.Connect();
    firmware.Feed(HandheldFrame(kMsgLayoutRequest, {0, 1, 0, 0}));
    Client client;
    client.hello.deviceName = u"Rig";
    EXPECT_EQ(client.Receive(firmware.Poll()), std::vector<int32_t>{kArrivalLayoutWritten});
    EXPECT_EQ(client.settings.GetDeviceInt(0, 768, -1), 7);
}

} // namespace
} // namespace ksv::device_testing

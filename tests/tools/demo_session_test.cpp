#include "demo_panel.h"
#include "demo_session.h"

#include "link/frame.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ksv::demo {
namespace {

// A session whose frames are kept instead of written.
class RecordedSession : public ::testing::Test {
protected:
    RecordedSession()
        : session([this](const DeviceMessage& message) { return Record(message); }, log) {}

    bool Record(const DeviceMessage& message) {
        sent.push_back(message);
        return portOpen;
    }

    void Connect() {
        session.OnFrame(HandheldFrame{kMsgHello, {}, 0});
        ASSERT_TRUE(session.InSession());
        sent.clear();
    }

    void UserSends(uint32_t id, std::vector<uint8_t> bytes) {
        session.OnFrame(
            HandheldFrame{kMsgValuesToDevice, {HandheldValue{id, std::move(bytes)}}, 0});
    }

    // The first entry of the first sent frame of `kind`: its id and bytes.
    std::pair<uint32_t, std::vector<uint8_t>> FirstEntry(uint16_t kind) const {
        for (const DeviceMessage& message : sent) {
            if (message.kind != kind || message.payload.size() < 12) {
                continue;
            }
            const uint8_t* p = message.payload.data();
            const uint32_t length = GetU32(p + 8);
            return {GetU32(p + 4), std::vector<uint8_t>(p + 12, p + 12 + length)};
        }
        return {0, {}};
    }

    std::ostringstream log;
    std::vector<DeviceMessage> sent;
    bool portOpen = true;
    DemoSession session;
};

std::vector<uint8_t> PasswordReport(const std::string& first, const std::string& second) {
    std::vector<uint8_t> bytes(68, 0);
    std::copy(first.begin(), first.end(), bytes.begin());
    std::copy(second.begin(), second.end(), bytes.begin() + 34);
    return bytes;
}

TEST_F(RecordedSession, HelloGetsNameThenPanelAskingForAcknowledgement) {
    session.OnFrame(HandheldFrame{kMsgHello, {}, 0});
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].kind, kMsgHelloReply);
    EXPECT_EQ(sent[1].kind, kMsgPanelDescription);
    EXPECT_EQ(sent[1].flags, kFlagAckRequested);
}

TEST_F(RecordedSession, NothingIsPushedBeforeHelloOrAfterGoodbye) {
    session.OnTick();
    EXPECT_TRUE(sent.empty());
    Connect();
    session.OnTick();
    EXPECT_FALSE(sent.empty());
    session.OnFrame(HandheldFrame{kMsgGoodbyeFromHandheld, {}, 0});
    sent.clear();
    session.OnTick();
    UserSends(kIdLamp, {0xFF});
    session.SayGoodbye();
    EXPECT_TRUE(sent.empty());
}

TEST_F(RecordedSession, PasswordLogsInOnlyWithTheDemoPassword) {
    Connect();
    UserSends(kIdLogin, PasswordReport("wrong", ""));
    EXPECT_EQ(FirstEntry(kMsgValuesFromDevice),
              (std::pair<uint32_t, std::vector<uint8_t>>{kIdLogin, {0}}));
    sent.clear();
    UserSends(kIdLogin, PasswordReport("demo", ""));
    EXPECT_EQ(FirstEntry(kMsgValuesFromDevice),
              (std::pair<uint32_t, std::vector<uint8_t>>{kIdLogin, {1}}));
    sent.clear();
    UserSends(kIdLogin, PasswordReport("", ""));
    EXPECT_EQ(FirstEntry(kMsgValuesFromDevice),
              (std::pair<uint32_t, std::vector<uint8_t>>{kIdLogin, {0}}));
}

TEST_F(RecordedSession, LatchColoursTheStatusLine) {
    Connect();
    UserSends(kIdLamp, {0xFF});
    const auto on = FirstEntry(kMsgStyleUpdate);
    EXPECT_EQ(on.first, kIdStatus);
    ASSERT_EQ(on.second.size(), 8u);
    EXPECT_EQ(GetU32(on.second.data()) & 0x40, 0x40u);
    EXPECT_EQ(GetU32(on.second.data() + 4), 0x0000FFFFu);
    sent.clear();
    UserSends(kIdLamp, {0x00});
    EXPECT_EQ(GetU32(FirstEntry(kMsgStyleUpdate).second.data() + 4), 0x00FFFFFFu);
}

TEST_F(RecordedSession, ButtonPutsUpTheMessageBoxAndTheAnswerIsRead) {
    Connect();
    UserSends(kIdAsk, {0xFF});
    const auto text = FirstEntry(kMsgValuesFromDevice);
    EXPECT_EQ(text.first, kIdQuestion);
    EXPECT_EQ(text.second.size(), kQuestionChars);
    const auto style = FirstEntry(kMsgStyleUpdate);
    EXPECT_EQ(style.first, kIdQuestion);
    const uint32_t word = GetU32(style.second.data());
    EXPECT_EQ(word & kFlagHidden, 0u);
    EXPECT_EQ(word & 0x00770000u, kFlagIconQuestion | kFlagButtonsYesNo);
    sent.clear();
    UserSends(kIdQuestion, {2});
    const auto status = FirstEntry(kMsgValuesFromDevice);
    EXPECT_EQ(status.first, kIdStatus);
    EXPECT_EQ(std::string(status.second.begin(), status.second.begin() + 14), "You answered N");
}

TEST_F(RecordedSession, FileControlPressGetsATextFile) {
    Connect();
    UserSends(kIdNotes, {});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].kind, kMsgFileTransfer);
    const std::vector<uint8_t>& p = sent[0].payload;
    ASSERT_GE(p.size(), 12u);
    EXPECT_EQ(GetU32(p.data()), kIdNotes);
    EXPECT_EQ(GetU32(p.data() + 4), 1u);
    const uint32_t nameLength = GetU32(p.data() + 8);
    ASSERT_GE(p.size(), 12u + nameLength + 4);
    EXPECT_EQ(p[12 + nameLength - 1], 0) << "name carries its NUL";
    const uint32_t size = GetU32(p.data() + 12 + nameLength);
    EXPECT_EQ(p.size(), 12u + nameLength + 4 + size);
    EXPECT_GT(size, 0u);
}

// Row entries: id, length, two 4-byte cells, cursor word, position.
TEST_F(RecordedSession, ChartRowsFillTheRingThenWrapAround) {
    Connect();
    std::vector<std::pair<int32_t, uint32_t>> cursorAndPosition;
    for (uint32_t tick = 0; tick < kChartRows + 2; ++tick) {
        sent.clear();
        session.OnTick();
        const auto row = FirstEntry(kMsgMatrixRows);
        ASSERT_EQ(row.first, kIdChart);
        ASSERT_EQ(row.second.size(), kChartSeries * 4 + 8);
        cursorAndPosition.emplace_back(static_cast<int32_t>(GetU32(row.second.data() + 8)),
                                       GetU32(row.second.data() + 12));
    }
    EXPECT_EQ(cursorAndPosition[0], (std::pair<int32_t, uint32_t>{1, 0}));
    EXPECT_EQ(cursorAndPosition[kChartRows - 1],
              (std::pair<int32_t, uint32_t>{30, kChartRows - 1}));
    // Full ring: the oldest row sits in the slot after the newest.
    EXPECT_EQ(cursorAndPosition[kChartRows], (std::pair<int32_t, uint32_t>{-1, 0}));
    EXPECT_EQ(cursorAndPosition[kChartRows + 1], (std::pair<int32_t, uint32_t>{-2, 1}));
}

TEST_F(RecordedSession, PingsTheHandheldAndAnswersItsPings) {
    Connect();
    session.OnFrame(HandheldFrame{kMsgPing, {}, 0});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].kind, kMsgPingReply);
    int devicePings = 0;
    for (int tick = 0; tick < 20; ++tick) {
        session.OnTick();
    }
    for (const auto& message : sent) {
        devicePings += message.kind == kMsgDevicePing;
    }
    EXPECT_EQ(devicePings, 2);
    EXPECT_NE(log.str().find("did not answer"), std::string::npos);
}

TEST_F(RecordedSession, ALostPortEndsTheSession) {
    Connect();
    portOpen = false;
    session.OnTick();
    EXPECT_FALSE(session.InSession());
}

} // namespace
} // namespace ksv::demo

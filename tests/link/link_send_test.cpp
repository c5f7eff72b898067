#include "link_test_fixture.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace ksv::testing {
namespace {

std::vector<uint8_t> U32(uint32_t value) {
    std::vector<uint8_t> out;
    PutU32(out, value);
    return out;
}

TEST_F(LinkOverPty, HeaderOnlyFramesGoOutByteForByte) {
    const std::vector<uint8_t> helloBytes = {0x5A, 0xE3, 0xF1, 0x6B, 0x77, 0xE4, 0xE9,
                                             0x63, 0x00, 0x01, 0x00, 0x00, 0x02, 0x00,
                                             0x01, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(link->SendHello(), kSuccess);
    ExpectSent(helloBytes);
    EXPECT_EQ(link->SendPingReply(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgPingReplyToDevice));
    EXPECT_EQ(link->SendAcknowledge(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgAcknowledge));
    EXPECT_EQ(link->SendLayoutRequest(256), kSuccess);
    ExpectSent(Concat(HandheldPrefix(kMsgLayoutRequest), {0x00, 0x01, 0x00, 0x00}));
}

TEST_F(LinkOverPty, PingSequence) {
    EXPECT_EQ(link->SendPing(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgPing));
    EXPECT_EQ(link->SendPing(), kPingUnanswered);
    EXPECT_EQ(link->SendPing(), kSuccess);
    // The probe comes straight after the third ping: the second sent nothing.
    link->SendHello();
    ExpectSent(Concat(HandheldPrefix(kMsgPing), HandheldPrefix(kMsgHello)));

    // A PingReply clears the mark, so the next ping goes out.
    EXPECT_EQ(Deliver(EncodeBareFrame(kMsgPingReply)), kArrivalPingReply);
    EXPECT_EQ(link->SendPing(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgPing));
}

TEST_F(LinkOverPty, ChangedValuesFrames) {
    EXPECT_EQ(link->SendChangedValues(), kSuccess);
    ExpectSent(Concat(HandheldPrefix(kMsgValuesToDevice), U32(0)));

    Deliver(EncodePanelDescription({DeviceControl('B', 0, 5).ValueByte(0),
                                    DeviceControl('G', 0, 6).ValueByte(0),
                                    DeviceControl('T', 0, 7).ValueText(u"").U32('m', 8)}));
    const uint8_t pressed = 1;
    ASSERT_EQ(link->Store().SetControlValue(5, &pressed, 1), kSuccess);
    {
        const StoreLock lock(link->Store());
        ControlRecord* text = lock.FindControl(7);
        text->text = u"abcdefghij";
        text->toSend = 1;
    }
    EXPECT_EQ(link->SendChangedValues(), kSuccess);
    std::vector<uint8_t> expected = Concat(HandheldPrefix(kMsgValuesToDevice), U32(2));
    expected = Concat(expected, Concat(U32(5), Concat(U32(1), {1})));
    expected =
        Concat(expected, Concat(U32(7), Concat(U32(8), {'a', 'b', 'c', 'd', 'e', 'f', 'g', 0})));
    ExpectSent(expected);
    const StoreLock lock(link->Store());
    EXPECT_EQ(lock.FindControl(5)->pressState, 0);
    EXPECT_EQ(lock.FindControl(5)->toSend, 0);
}

TEST_F(LinkOverPty, ImmediateByteGoesOutOnlyForKnownControls) {
    Deliver(EncodePanelDescription({DeviceControl('B', 0, 5).ValueByte(0)}));
    EXPECT_EQ(link->SendImmediateByte(99, 1), kSuccess);
    EXPECT_EQ(link->SendImmediateByte(5, 0x1FF), kSuccess);
    ExpectSent(Concat(HandheldPrefix(kMsgValuesToDevice),
                      Concat(U32(1), Concat(U32(5), Concat(U32(1), {0xFF})))));
}

class PasswordFrames : public LinkOverPty {
protected:
    void SetUp() override {
        LinkOverPty::SetUp();
        Deliver(EncodePanelDescription({DeviceControl('P', 0, 3).ValueByte(0),
                                        DeviceControl('P', 0x4, 4).ValueByte(0),
                                        DeviceControl('B', 0, 5).ValueByte(0)}));
    }

    // One Values entry of two 34-byte password fields; returns the two fields.
    std::pair<std::vector<uint8_t>, std::vector<uint8_t>> ExpectPasswordEntry(uint32_t id) {
        ExpectSent(
            Concat(HandheldPrefix(kMsgValuesToDevice), Concat(U32(1), Concat(U32(id), U32(68)))));
        const auto fields = device.Read(68);
        EXPECT_TRUE(fields.has_value());
        if (!fields) {
            return {};
        }
        return {std::vector<uint8_t>(fields->begin(), fields->begin() + 34),
                std::vector<uint8_t>(fields->begin() + 34, fields->end())};
    }
};

// The text of a narrow field up to its NUL; the NUL must lie inside the field.
std::string NarrowField(const std::vector<uint8_t>& field) {
    const auto nul = std::find(field.begin(), field.end(), 0);
    EXPECT_NE(nul, field.end()) << "field without terminator";
    return std::string(field.begin(), nul);
}

TEST_F(PasswordFrames, NarrowStringsAreTruncatedAndTerminated) {
    EXPECT_EQ(link->SendPassword(3, u"open sesame"), kSuccess);
    auto fields = ExpectPasswordEntry(3);
    EXPECT_EQ(NarrowField(fields.first), "open sesame");
    EXPECT_EQ(NarrowField(fields.second), "");

    const std::u16string longest(40, u'x');
    EXPECT_EQ(link->SendPasswordChange(3, u"old", longest), kSuccess);
    fields = ExpectPasswordEntry(3);
    EXPECT_EQ(NarrowField(fields.first), "old");
    EXPECT_EQ(NarrowField(fields.second), std::string(33, 'x'));

    EXPECT_EQ(link->SendLogOut(3), kSuccess);
    fields = ExpectPasswordEntry(3);
    EXPECT_EQ(NarrowField(fields.first), "");
    EXPECT_EQ(NarrowField(fields.second), "");

    const StoreLock lock(link->Store());
    EXPECT_EQ(lock.FindControl(3)->sendText1, nullptr);
    EXPECT_EQ(lock.FindControl(3)->sendText2, nullptr);
}

TEST_F(PasswordFrames, WideStringsKeepSixteenCharacters) {
    EXPECT_EQ(link->SendPassword(4, u"abcdefghijklmnopqrstu"), kSuccess);
    const auto fields = ExpectPasswordEntry(4);
    std::vector<uint8_t> expected;
    for (char c : std::string("abcdefghijklmnop")) {
        expected.push_back(static_cast<uint8_t>(c));
        expected.push_back(0);
    }
    EXPECT_EQ(std::vector<uint8_t>(fields.first.begin(), fields.first.begin() + 32), expected);
    EXPECT_EQ(fields.first[32], 0);
    EXPECT_EQ(fields.first[33], 0);
}

TEST_F(PasswordFrames, RefusedReportsSendNothing) {
    EXPECT_EQ(link->SendPasswordChange(3, u"old", u""), kNotApplicable);
    EXPECT_EQ(link->SendPassword(5, u"pw"), kNotApplicable);
    EXPECT_EQ(link->SendLogOut(77), kSuccess);
    link->SendHello();
    ExpectSent(HandheldPrefix(kMsgHello));
}

TEST_F(LinkOverPty, WriteGivesUpWhenTheDeviceStopsReading) {
    // The device reads nothing: the pty fills and the few attempts of patience 0 run out.
    const std::vector<uint8_t> big(1 << 20, 0x55);
    EXPECT_EQ(link->WriteBytes(big.data(), static_cast<uint32_t>(big.size()), 0), kWriteGaveUp);
    EXPECT_LT(device.Drain(), big.size());
    // The port is still usable.
    EXPECT_EQ(link->SendHello(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgHello));
}

TEST_F(LinkOverPty, DisconnectSaysGoodbyeAndCloses) {
    Deliver(EncodePanelDescription({DeviceControl('B', 0, 5).ValueByte(0)}));
    EXPECT_EQ(link->Disconnect(true), kSuccess);
    ExpectSent(HandheldPrefix(kMsgGoodbyeFromHandheld));
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(link->Store().GetControlCount(), 0u);
    EXPECT_EQ(link->Disconnect(false), kNoPort);
    EXPECT_EQ(link->SendHello(), kNoPort);
    EXPECT_EQ(link->SendPing(), kNoPort);
    EXPECT_EQ(link->SendChangedValues(), kNoPort);
}

TEST_F(LinkOverPty, AFailedGoodbyeLeavesThePortOpen) {
    device.HangUp();
    EXPECT_EQ(link->Disconnect(true), kLinkClosed);
    EXPECT_TRUE(link->IsPortOpen());
    EXPECT_EQ(link->Disconnect(false), kSuccess);
    EXPECT_FALSE(link->IsPortOpen());
}

TEST_F(LinkOverPty, SecondOpenLeavesThePortUntouched) {
    EXPECT_EQ(link->OpenPort(device.PortNumber(), &arrivals), kAlreadyOpen);
    EXPECT_TRUE(link->IsPortOpen());
    EXPECT_EQ(Deliver(EncodeBareFrame(kMsgNoOperation)), kArrivalNothing);
}

TEST_F(LinkOverPty, PortIsRaw115200EightNoneOneWithoutFlowControl) {
    const termios tio = device.LineSettings();
    EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST(LinkLifecycle, OpenNeedsInitAndAnExistingPort) {
    PtyDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    ArrivalCounter arrivals;
    Link link(settings, reporter, device.Paths());
    EXPECT_EQ(link.OpenPort(device.PortNumber(), &arrivals), kNotInitialised);
    EXPECT_EQ(link.StartReceiver(&arrivals), kNoPort);
    EXPECT_EQ(link.LinkInit(), kSuccess);
    EXPECT_EQ(link.LinkInit(), kSuccess);
    std::filesystem::create_symlink(device.Root() + "/no-such-device",
                                    device.Paths().portsFolder + "/COM8");
    EXPECT_EQ(link.OpenPort(8, &arrivals), static_cast<ResultCode>(ENOENT));
    EXPECT_EQ(link.GetLastPlatformError(), ENOENT);
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_EQ(link.OpenPort(device.PortNumber(), &arrivals), kSuccess);
    EXPECT_EQ(link.LinkTerm(), kSuccess);
    EXPECT_FALSE(link.IsPortOpen());
    EXPECT_EQ(link.GetDeviceName(), std::nullopt);
}

} // namespace
} // namespace ksv::testing

#include "link_test_fixture.h"

#include "link/received_files.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace ksv::testing {
namespace {

using std::chrono::milliseconds;

TEST_F(LinkOverPty, GarbageBeforeMarkerAndSplitMarkerAreSkipped) {
    const std::vector<uint8_t> frame = EncodeBareFrame(kMsgNoOperation).Frame();
    // Garbage including a false start of the marker, then the frame in three pieces.
    device.Write({0x00, 0x5A, 0xE3, 0xF1, 0x12, 0x5A});
    device.Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 3));
    device.Write(std::vector<uint8_t>(frame.begin() + 3, frame.begin() + 11));
    device.Write(std::vector<uint8_t>(frame.begin() + 11, frame.end()));
    ASSERT_TRUE(arrivals.WaitFor(1));
    EXPECT_EQ(link->GetArrivalCode(), kArrivalNothing);
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_F(LinkOverPty, BadKindsReportOnceAndTheNextFrameIsFound) {
    const uint16_t badKinds[] = {3, 7, 20, 0, 22, 0xFFFF};
    int runs = 0;
    for (uint16_t kind : badKinds) {
        const int32_t code =
            runs++ == 0 ? Deliver(EncodeBareFrame(kind)) : DeliverNext(EncodeBareFrame(kind));
        EXPECT_EQ(code, kArrivalError) << "kind " << kind;
        EXPECT_EQ(arrivals.Posts(), runs);
    }
    EXPECT_EQ(reporter.Values(), std::vector<long>(std::size(badKinds), -1));
    EXPECT_EQ(reporter.Modules().front(), kLinkModule);
    EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgResetRequest)), kArrivalResetLink);
}

TEST_F(LinkOverPty, BareKindsLeaveTheirCodes) {
    EXPECT_EQ(Deliver(EncodeBareFrame(kMsgGoodbyeFromDevice)), kArrivalDeviceEnded);
    EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgHello)), kArrivalDeviceEnded);
    EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgNoOperation)), kArrivalNothing);
    EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgResetRequest)), kArrivalResetLink);
    EXPECT_TRUE(reporter.Values().empty());
}

// Reads the handheld's answer from inside the post: it must already be on the wire, since
// nothing more is sent by the receive thread while the post is running.
class AnswerCheckingSink : public ArrivalSink {
public:
    AnswerCheckingSink(PtyDevice& device, std::vector<uint8_t> expected)
        : m_device(device), m_expected(std::move(expected)) {}
    void PostArrival() override {
        const auto got = m_device.Read(m_expected.size(), milliseconds(2000));
        m_answered.set_value(got.has_value() && *got == m_expected);
    }
    bool Answered() {
        auto future = m_answered.get_future();
        return future.wait_for(std::chrono::seconds(5)) == std::future_status::ready &&
               future.get();
    }

private:
    PtyDevice& m_device;
    std::vector<uint8_t> m_expected;
    std::promise<bool> m_answered;
};

TEST_F(LinkOverPty, DevicePingIsAnsweredBeforeThePost) {
    Deliver(EncodeBareFrame(kMsgNoOperation)); // ends the run OpenPort started
    AnswerCheckingSink sink(device, HandheldPrefix(kMsgPingReplyToDevice));
    link->StartReceiver(&sink);
    device.Write(EncodeBareFrame(kMsgDevicePing).Frame());
    EXPECT_TRUE(sink.Answered());
    EXPECT_EQ(link->GetArrivalCode(), kArrivalDevicePing);
}

TEST_F(LinkOverPty, AcknowledgesOnlyWhenAskedAndAfterDecoding) {
    const DeviceMessage panel = EncodePanelDescription(
        {DeviceControl('B', 0, 5).ValueByte(0).Caption(u"Go"),
         DeviceControl('N', 0, 6).ValueU32(3).Caption(u"Level").U32('x', 10).U32('n', 0)},
        kFlagAckRequested);
    EXPECT_EQ(Deliver(panel), kArrivalNewPanel);
    ExpectSent(HandheldPrefix(kMsgAcknowledge));
    EXPECT_EQ(link->Store().GetControlCount(), 2u);

    // Values without the flag: no acknowledgement; with it: one. The Hello probe shows that
    // nothing was sent in between.
    EXPECT_EQ(DeliverNext(EncodeValues({U32Entry(6, 7)})), kArrivalValuesChanged);
    EXPECT_EQ(DeliverNext(EncodeValues({U32Entry(99, 1), U32Entry(6, 9)}, kFlagAckRequested)),
              kArrivalValuesChanged);
    ExpectSent(HandheldPrefix(kMsgAcknowledge));
    int32_t number = 0;
    uint32_t size = sizeof number;
    EXPECT_EQ(link->Store().GetControlValue(6, &number, &size), kSuccess);
    EXPECT_EQ(number, 9);

    // A decoder failure: reported with its result, code -1, no acknowledgement.
    EXPECT_EQ(DeliverNext(EncodeFileTransfer(5, {{u"..", false, {1}}}, kFlagAckRequested)),
              kArrivalError);
    EXPECT_EQ(reporter.Values(), std::vector<long>{kFileNotCreated});
    link->SendHello();
    ExpectSent(HandheldPrefix(kMsgHello));
}

TEST_F(LinkOverPty, HelloReplyNamesTheDeviceAndSetsFlags) {
    EXPECT_EQ(link->GetDeviceName(), std::u16string(u"Kestrovane"));
    EXPECT_EQ(Deliver(EncodeHelloReply(u"Pump\u00e9", false, kHelloKeepPanel)), kArrivalDeviceName);
    EXPECT_EQ(link->GetDeviceName(), std::u16string(u"Pump\u00e9"));
    EXPECT_TRUE(link->IsPingEnabled());
    EXPECT_TRUE(link->IsKeepPanelOnGoodbye());
    EXPECT_EQ(link->Settings().Section(), u"Pump\u00e9");

    EXPECT_EQ(DeliverNext(EncodeHelloReply(u"Kiln", true, kHelloPingsOff)), kArrivalDeviceName);
    EXPECT_EQ(link->GetDeviceName(), std::u16string(u"Kiln"));
    EXPECT_FALSE(link->IsPingEnabled());
    EXPECT_FALSE(link->IsKeepPanelOnGoodbye());
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_F(LinkOverPty, LayoutEntriesGoIntoTheDeviceSection) {
    Deliver(EncodeHelloReply(u"Oven", false));
    EXPECT_EQ(DeliverNext(EncodeLayoutEntries({{0x12, 256, 7}, {0, 768, 5}})),
              kArrivalLayoutWritten);
    EXPECT_EQ(settings.GetProfileInt(u"Oven", "0000000000000300", -1), 5);
    // Control 0x12 is not described yet: its entry waits for the panel.
    EXPECT_EQ(settings.GetProfileInt(u"Oven", "0000001200000100", -1), -1);
    EXPECT_EQ(DeliverNext(EncodePanelDescription({DeviceControl('B', 0, 0x12).ValueByte(0)})),
              kArrivalNewPanel);
    EXPECT_EQ(settings.GetProfileInt(u"Oven", "0000001200000100", -1), 7);
    EXPECT_EQ(settings.GetProfileInt(u"Oven", "0000001200000000", -1), 0);
}

TEST_F(LinkOverPty, FilesLandInTheDeviceFolder) {
    Deliver(EncodeHelloReply(u"../Evil/Name", false));
    DeliverNext(EncodePanelDescription({DeviceControl('F', 0, 4).Caption(u"Log")}));
    EXPECT_EQ(DeliverNext(EncodeFileTransfer(4, {{u"\\logs\\today.txt", false, {'o', 'k'}}})),
              kArrivalFilesArrived);
    const std::string expected = device.Paths().filesRoot + "/_._Evil_Name/logs/today.txt";
    EXPECT_EQ(link->Store().GetFileName(4), Utf8ToUtf16(expected));
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_F(LinkOverPty, ClosingWhileTheReceiverWaitsIsPromptAndSilent) {
    auto closing = std::async(std::launch::async, [&] { return link->ClosePort(); });
    ASSERT_EQ(closing.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_EQ(closing.get(), kSuccess);
    EXPECT_EQ(arrivals.Posts(), 0);
    EXPECT_TRUE(reporter.Values().empty());
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(link->StartReceiver(&arrivals), kNoPort);
}

TEST_F(LinkOverPty, ClosingInsideAFileTransferReportsSixAndDiscardsThePanel) {
    Deliver(EncodePanelDescription({DeviceControl('F', 0, 5).Caption(u"Log")}));
    link->StartReceiver(&arrivals);
    // A transfer broken off inside the file name: the receive thread waits in the payload.
    const std::vector<uint8_t> frame =
        EncodeFileTransfer(5, {{u"a.bin", false, {1, 2, 3}}}).Frame();
    device.Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 30));
    ASSERT_TRUE(WaitLinkTookEverything());
    auto closing = std::async(std::launch::async, [&] { return link->ClosePort(); });
    ASSERT_EQ(closing.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_EQ(arrivals.Posts(), 1);
    EXPECT_EQ(link->Store().GetControlCount(), 0u);
    EXPECT_EQ(reporter.Values(), std::vector<long>{kLinkClosed});
}

TEST_F(LinkOverPty, ClosingInsideAHelloReplyPostsNothing) {
    const std::vector<uint8_t> frame = EncodeHelloReply(u"Pump", false).Frame();
    device.Write(std::vector<uint8_t>(frame.begin(), frame.begin() + 26));
    auto closing = std::async(std::launch::async, [&] { return link->ClosePort(); });
    ASSERT_EQ(closing.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_EQ(arrivals.Posts(), 0);
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_F(LinkOverPty, DeviceHangUpEndsTheRunSilently) {
    device.HangUp();
    auto closing = std::async(std::launch::async, [&] { return link->ClosePort(); });
    ASSERT_EQ(closing.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_EQ(arrivals.Posts(), 0);
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_F(LinkOverPty, ResetLinkDropsUnreadBytesAndSaysHelloAgain) {
    Deliver(EncodeBareFrame(kMsgResetRequest));
    // Bytes that arrive while no run reads are purged with the reset.
    device.Write(EncodeBareFrame(kMsgGoodbyeFromDevice).Frame());
    ASSERT_TRUE(device.WaitPendingAtPort(kFramePrefixSize));
    EXPECT_EQ(link->SendPing(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgPing));
    EXPECT_EQ(link->ResetLink(), kSuccess);
    ExpectSent(HandheldPrefix(kMsgHello));
    EXPECT_EQ(link->SendPing(), kSuccess) << "the reset clears the outstanding ping";
    ExpectSent(HandheldPrefix(kMsgPing));
    EXPECT_EQ(DeliverNext(EncodeBareFrame(kMsgNoOperation)), kArrivalNothing);
}

// A sink that closes the link from inside the post, on the receive thread.
class ClosingSink : public ArrivalSink {
public:
    explicit ClosingSink(Link& link) : m_link(link) {}
    void PostArrival() override {
        m_link.ClosePort();
        m_closed.PostArrival();
    }
    ArrivalCounter& Closed() { return m_closed; }

private:
    Link& m_link;
    ArrivalCounter m_closed;
};

TEST_F(LinkOverPty, ClosingFromInsideThePostDoesNotDeadlock) {
    Deliver(EncodeBareFrame(kMsgNoOperation));
    ClosingSink sink(*link);
    link->StartReceiver(&sink);
    device.Write(EncodeBareFrame(kMsgGoodbyeFromDevice).Frame());
    ASSERT_TRUE(sink.Closed().WaitFor(1));
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(link->GetArrivalCode(), kArrivalDeviceEnded);
    // The link opens again on the same device.
    EXPECT_EQ(link->OpenPort(device.PortNumber(), &arrivals), kSuccess);
    ExpectSent(HandheldPrefix(kMsgHello));
}

TEST_F(LinkOverPty, DestroyedRightAfterClosingFromInsideThePost) {
    for (int round = 0; round < 10; ++round) {
        Deliver(EncodeBareFrame(kMsgNoOperation)); // ends the run OpenPort started
        ClosingSink sink(*link);
        link->StartReceiver(&sink);
        device.Write(EncodeBareFrame(kMsgGoodbyeFromDevice).Frame());
        ASSERT_TRUE(sink.Closed().WaitFor(1));
        link = std::make_unique<Link>(settings, reporter, device.Paths());
        link->LinkInit();
        ASSERT_EQ(link->OpenPort(device.PortNumber(), &arrivals), kSuccess);
        ExpectSent(HandheldPrefix(kMsgHello));
    }
}

TEST(LinkLifecycle, AnOpenFailingWithEnxioIsAPlatformErrorNotAClosedPort) {
    PtyDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    Link link(settings, reporter, device.Paths());
    link.LinkInit();
    const std::string socketPath = device.Root() + "/socket";
    std::filesystem::create_symlink(socketPath, device.Paths().portsFolder + "/COM9");
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ArrivalCounter arrivals;
    EXPECT_EQ(link.OpenPort(9, &arrivals), static_cast<ResultCode>(ENXIO));
    EXPECT_EQ(link.GetLastPlatformError(), ENXIO);
    EXPECT_FALSE(link.IsPortOpen());
    close(listener);
}

} // namespace
} // namespace ksv::testing

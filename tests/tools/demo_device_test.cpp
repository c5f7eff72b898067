#include "demo_device.h"
#include "demo_panel.h"
#include "pty_port.h"

#include "tcp_listen_port.h"

#include "link/decoders.h"
#include "link/frame.h"
#include "link/memory_reader.h"
#include "link/panel_store.h"
#include "link/tcp_address.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace ksv::demo {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class CountingReporter : public ErrorReporter {
public:
    void ReportError(long, const char*, long, ksv::ReportReason) override { ++errors; }
    void ShowMessage(const std::u16string&, ksv::ReportReason) override { ++errors; }
    void RequestQuit() override { ++errors; }
    int errors = 0;
};

struct ReceivedFrame {
    uint16_t kind = 0;
    uint16_t flags = 0;
    std::vector<uint8_t> payload;
};

// The handheld's end of the terminal, opened through the ports-folder link as the link does,
// or of a TCP connection (`fd`, owned).
class HandheldEnd {
public:
    explicit HandheldEnd(const std::string& path) {
        m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0) {
            termios settings{};
            ::tcgetattr(m_fd, &settings);
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    explicit HandheldEnd(int fd) : m_fd(fd) {}
    HandheldEnd(const HandheldEnd&) = delete;
    HandheldEnd& operator=(const HandheldEnd&) = delete;
    ~HandheldEnd() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = -1;
    }

    void Send(uint16_t kind, const std::vector<uint8_t>& payload = {}) {
        const auto prefix = EncodeFramePrefix(kind);
        std::vector<uint8_t> bytes(prefix.begin(), prefix.end());
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until a frame of `kind` is complete (a later marker bounds its payload, or it has
    // no payload), or the deadline passes. Frames before it are kept in Seen().
    std::optional<ReceivedFrame> WaitFor(uint16_t kind, std::chrono::milliseconds patience = 5s) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            if (auto frame = Take(kind)) {
                return frame;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return std::nullopt;
            }
            pollfd entry{m_fd, POLLIN, 0};
            if (::poll(&entry, 1, static_cast<int>(left.count())) > 0) {
                uint8_t buffer[4096];
                const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
                if (got > 0) {
                    m_stream.insert(m_stream.end(), buffer, buffer + got);
                }
            }
        }
    }

    const std::vector<ReceivedFrame>& Seen() const { return m_seen; }

private:
    static bool Bare(uint16_t kind) {
        return kind == kMsgGoodbyeFromDevice || kind == kMsgDevicePing || kind == kMsgPingReply ||
               kind == kMsgNoOperation || kind == kMsgHello;
    }

    std::optional<ReceivedFrame> Take(uint16_t kind) {
        for (;;) {
            auto start = std::search(m_stream.begin(), m_stream.end(), kSyncMarker.begin(),
                                     kSyncMarker.end());
            if (start == m_stream.end() || m_stream.end() - start < long(kFramePrefixSize)) {
                return std::nullopt;
            }
            const FrameHeader header = DecodeFrameHeader(&*(start + kSyncMarker.size()));
            const auto payloadStart = start + kFramePrefixSize;
            auto end = Bare(header.kind) ? payloadStart
                                         : std::search(payloadStart, m_stream.end(),
                                                       kSyncMarker.begin(), kSyncMarker.end());
            if (end == m_stream.end() && !Bare(header.kind)) {
                return std::nullopt;
            }
            ReceivedFrame frame{header.kind, header.flags, {payloadStart, end}};
            m_stream.erase(m_stream.begin(), end);
            if (frame.kind == kind) {
                return frame;
            }
            m_seen.push_back(std::move(frame));
        }
    }

    int m_fd = -1;
    std::vector<uint8_t> m_stream;
    std::vector<ReceivedFrame> m_seen;
};

class DemoDeviceOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ksv-demo-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
        port = std::make_unique<PtyPort>(8, folder + "/ports");
        device = std::make_unique<DemoDevice>(*port, log);
        runner = std::thread([this] { device->Run(); });
    }

    void TearDown() override {
        StopDevice();
        device.reset();
        port.reset();
        fs::remove_all(folder);
    }

    void StopDevice() {
        if (runner.joinable()) {
            device->RequestStop();
            runner.join();
        }
    }

    std::string LinkPath() const { return folder + "/ports/COM8"; }

    std::string folder;
    std::ostringstream log;
    std::unique_ptr<PtyPort> port;
    std::unique_ptr<DemoDevice> device;
    std::thread runner;
};

std::u16string DecodedName(const ReceivedFrame& frame) {
    MemoryReader reader(frame.payload);
    HelloReply reply;
    if (DecodeHelloReply(reader, frame.flags, reply) != kSuccess || !reply.deviceName) {
        return u"<undecodable>";
    }
    return *reply.deviceName;
}

TEST_F(DemoDeviceOnPty, RegistersAsComPortAndAnswersHelloWithNameAndPanel) {
    ASSERT_TRUE(fs::is_symlink(LinkPath()));
    EXPECT_EQ(fs::read_symlink(LinkPath()), port->SlavePath());

    HandheldEnd handheld(LinkPath());
    ASSERT_TRUE(handheld.IsOpen());
    handheld.Send(kMsgHello);
    handheld.Send(kMsgPing); // its reply bounds the panel description
    ASSERT_TRUE(handheld.WaitFor(kMsgPingReply));

    const auto& seen = handheld.Seen();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, kMsgHelloReply);
    EXPECT_EQ(DecodedName(seen[0]), u"Kestrovane Demo");
    ASSERT_EQ(seen[1].kind, kMsgPanelDescription);

    CountingReporter reporter;
    PanelStore store(reporter);
    MemoryReader reader(seen[1].payload);
    ASSERT_EQ(DecodePanelDescription(reader, store, reporter), kSuccess);
    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_EQ(reporter.errors, 0);

    const StoreLock lock(store);
    std::set<uint16_t> kinds;
    for (const ControlRecord& record : lock.Records()) {
        kinds.insert(record.kind);
    }
    for (uint16_t kind = kRecordText; kind <= kRecordImage; ++kind) {
        EXPECT_TRUE(kinds.count(kind)) << "no control of record kind " << kind;
    }
    const ControlRecord* picture = lock.FindControl(kIdPicture);
    ASSERT_NE(picture, nullptr);
    ASSERT_GE(picture->data.size(), 6u);
    EXPECT_EQ(std::string(picture->data.begin(), picture->data.begin() + 6), "GIF87a");
    const ControlRecord* chart = lock.FindControl(kIdChart);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->cellsSize, kChartRows * kChartSeries * 4);
    const ControlRecord* speed = lock.FindControl(kIdSpeed);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->itemCount, 3u);
}

TEST_F(DemoDeviceOnPty, PushesRowsThatApplyToTheDecodedPanel) {
    HandheldEnd handheld(LinkPath());
    handheld.Send(kMsgHello);
    handheld.Send(kMsgPing);
    ASSERT_TRUE(handheld.WaitFor(kMsgPingReply));
    CountingReporter reporter;
    PanelStore store(reporter);
    MemoryReader panel(handheld.Seen().at(1).payload);
    ASSERT_EQ(DecodePanelDescription(panel, store, reporter), kSuccess);

    auto rows = handheld.WaitFor(kMsgMatrixRows, 4s);
    ASSERT_TRUE(rows);
    MemoryReader reader(rows->payload);
    ASSERT_EQ(ApplyMatrixRows(reader, store, reporter), kSuccess);
    EXPECT_EQ(reporter.errors, 0);
    EXPECT_TRUE(store.IsValueUpdated(kIdChart));
    auto values = handheld.WaitFor(kMsgValuesFromDevice, 4s);
    ASSERT_TRUE(values);
    MemoryReader valueReader(values->payload);
    EXPECT_EQ(ApplyValues(valueReader, store, reporter), kSuccess);
    EXPECT_EQ(reporter.errors, 0);
}

TEST_F(DemoDeviceOnPty, AnswersLayoutRequestAndTheUsersChanges) {
    HandheldEnd handheld(LinkPath());
    handheld.Send(kMsgHello);
    ASSERT_TRUE(handheld.WaitFor(kMsgHelloReply));
    std::vector<uint8_t> argument;
    PutU32(argument, 256);
    handheld.Send(kMsgLayoutRequest, argument);
    handheld.Send(kMsgPing);
    auto layout = handheld.WaitFor(kMsgLayoutEntries);
    ASSERT_TRUE(layout);
    ASSERT_GE(layout->payload.size(), 4u);
    EXPECT_EQ(layout->payload.size(), 4u + 12u * GetU32(layout->payload.data()));

    std::vector<uint8_t> press;
    PutU32(press, 1);
    PutU32(press, kIdNotes);
    PutU32(press, 0);
    handheld.Send(kMsgValuesToDevice, press);
    handheld.Send(kMsgPing);
    auto file = handheld.WaitFor(kMsgFileTransfer);
    ASSERT_TRUE(file);
    EXPECT_EQ(GetU32(file->payload.data()), kIdNotes);
}

TEST_F(DemoDeviceOnPty, WaitsForTheNextHelloAfterGoodbyeAndAfterTheHandheldCloses) {
    {
        HandheldEnd handheld(LinkPath());
        handheld.Send(kMsgHello);
        ASSERT_TRUE(handheld.WaitFor(kMsgHelloReply));
        handheld.Send(kMsgGoodbyeFromHandheld);
        handheld.Send(kMsgHello);
        auto again = handheld.WaitFor(kMsgHelloReply);
        ASSERT_TRUE(again);
        EXPECT_EQ(DecodedName(*again), u"Kestrovane Demo");
    }
    HandheldEnd reopened(LinkPath());
    ASSERT_TRUE(reopened.IsOpen());
    reopened.Send(kMsgHello);
    auto reply = reopened.WaitFor(kMsgHelloReply);
    ASSERT_TRUE(reply);
    EXPECT_EQ(DecodedName(*reply), u"Kestrovane Demo");
    // Nothing of the earlier session was left queued for the new one.
    for (const auto& frame : reopened.Seen()) {
        ADD_FAILURE() << "stale frame of kind " << frame.kind;
    }
}

TEST_F(DemoDeviceOnPty, SaysGoodbyeWhenStoppedAndRemovesItsLink) {
    HandheldEnd handheld(LinkPath());
    handheld.Send(kMsgHello);
    ASSERT_TRUE(handheld.WaitFor(kMsgHelloReply));
    StopDevice();
    EXPECT_TRUE(handheld.WaitFor(kMsgGoodbyeFromDevice));
    device.reset();
    port.reset();
    EXPECT_FALSE(fs::exists(fs::symlink_status(LinkPath())));
}

TEST(PtyPort, RefusesToReplaceAFileThatIsNotALink) {
    char pattern[] = "/tmp/ksv-demo-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    { std::ofstream(folder + "/COM8") << "/dev/rfcomm0\n"; }
    EXPECT_THROW(PtyPort(8, folder), std::runtime_error);
    EXPECT_TRUE(fs::is_regular_file(folder + "/COM8"));
    {
        PtyPort stale(9, folder);
        PtyPort replacing(9, folder); // a link left behind is taken over
        EXPECT_EQ(fs::read_symlink(folder + "/COM9"), replacing.SlavePath());
    }
    fs::remove_all(folder);
}

// A blocking loopback connection to the address of a "tcp://HOST:PORT" entry; -1 on failure.
int ConnectTo(const std::string& entry) {
    const std::optional<TcpAddress> address = ParseTcpAddress(entry);
    if (!address) {
        return -1;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(address->port);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::inet_pton(AF_INET, address->host.c_str(), &peer.sin_addr) != 1 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

TEST(DemoDeviceOnTcp, RegistersItsAddressAndServesEachNewConnectionAFreshSession) {
    char pattern[] = "/tmp/ksv-demo-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::string entry = folder + "/ports/COM8";
    std::ostringstream log;
    {
        TcpListenPort port("127.0.0.1", 0, 8, folder + "/ports");
        std::string line;
        std::getline(std::ifstream(entry) >> std::ws, line);
        EXPECT_EQ(line, port.Address());
        DemoDevice device(port, log);
        std::thread runner([&device] { device.Run(); });
        for (int connection = 0; connection < 2; ++connection) {
            HandheldEnd handheld(ConnectTo(port.Address()));
            handheld.Send(kMsgHello);
            handheld.Send(kMsgPing);
            ASSERT_TRUE(handheld.WaitFor(kMsgPingReply)) << "connection " << connection;
            // Nothing left over from the connection before.
            const auto& seen = handheld.Seen();
            ASSERT_EQ(seen.size(), 2u) << "connection " << connection;
            EXPECT_EQ(DecodedName(seen[0]), u"Kestrovane Demo");
            EXPECT_EQ(seen[1].kind, kMsgPanelDescription);
            // Left without Goodbye: the device notices the closed connection by itself.
        }
        device.RequestStop();
        runner.join();
    }
    EXPECT_FALSE(fs::exists(entry));
    fs::remove_all(folder);
}

} // namespace
} // namespace ksv::demo

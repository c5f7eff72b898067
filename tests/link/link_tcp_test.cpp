#include "link_stream_fixture.h"

#include "link/tcp_address.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <future>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ksv::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(TcpAddress, EntriesAreCheckedWhole) {
    struct Case {
        const char* entry;
        const char* host; // null: refused
        uint16_t port;
    };
    const Case cases[] = {
        {"tcp://127.0.0.1:5000", "127.0.0.1", 5000},
        {"tcp://pump-1.local:1", "pump-1.local", 1},
        {"tcp://[::1]:65535", "::1", 65535},
        {"tcp://host:0", nullptr, 0},
        {"tcp://host:65536", nullptr, 0},
        {"tcp://host:123456", nullptr, 0},
        {"tcp://host:+80", nullptr, 0},
        {"tcp://host:", nullptr, 0},
        {"tcp://host", nullptr, 0},
        {"tcp://:80", nullptr, 0},
        {"tcp://host:80/path", nullptr, 0},
        {"tcp://ho st:80", nullptr, 0},
        {"tcp://user@host:80", nullptr, 0},
        {"tcp://[::1:80", nullptr, 0},
        {"tcp://[host]:80", nullptr, 0},
        {"TCP://host:80", nullptr, 0},
        {"/dev/ttyUSB0", nullptr, 0},
    };
    for (const Case& c : cases) {
        const std::optional<TcpAddress> address = ParseTcpAddress(c.entry);
        ASSERT_EQ(address.has_value(), c.host != nullptr) << c.entry;
        if (address) {
            EXPECT_EQ(address->host, c.host) << c.entry;
            EXPECT_EQ(address->port, c.port) << c.entry;
        }
    }
    EXPECT_FALSE(ParseTcpAddress("tcp://" + std::string(254, 'a') + ":80"));
}

class LinkOverTcp : public ::testing::Test {
protected:
    void Open(ArrivalSink* sink = nullptr) {
        link = std::make_unique<Link>(settings, reporter, device.Paths(), limits);
        link->LinkInit();
        result = link->OpenPort(device.PortNumber(), sink ? sink : &arrivals);
    }
    void WriteEntry(const std::string& entry) {
        std::ofstream(device.Paths().portsFolder + "/COM" + std::to_string(device.PortNumber()))
            << entry << "\n";
    }

    LinkLimits limits;
    TcpDevice device;
    MemorySettingsStore settings;
    ThreadSafeReporter reporter;
    ArrivalCounter arrivals;
    std::unique_ptr<Link> link;
    ResultCode result = kSuccess;
};

TEST_F(LinkOverTcp, AMalformedEntryFailsTheOpenWithEinval) {
    WriteEntry("tcp://127.0.0.1:70000");
    Open();
    EXPECT_EQ(result, static_cast<ResultCode>(EINVAL));
    EXPECT_EQ(link->GetLastPlatformError(), EINVAL);
    EXPECT_FALSE(link->IsPortOpen());
}

TEST_F(LinkOverTcp, ARefusedConnectIsToldAsALostLinkWithItsErrno) {
    device.HangUp();
    Open();
    EXPECT_EQ(result, kSuccess) << "the connect is the receive run's";
    EXPECT_EQ(arrivals.WaitForLinkLost(),
              std::vector<ResultCode>{static_cast<ResultCode>(ECONNREFUSED)});
    EXPECT_EQ(arrivals.Posts(), 0);
    EXPECT_TRUE(reporter.Values().empty());
}

TEST_F(LinkOverTcp, AHostNameIsLookedUp) {
    WriteEntry("tcp://localhost:" + std::to_string(device.TcpPort()));
    Open();
    ASSERT_EQ(result, kSuccess);
    ExpectSentTo(device, HandheldPrefix(kMsgHello));
}

// A loopback listener whose queue is full: a further connect is never answered.
class UnansweringListener {
public:
    UnansweringListener() {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), length);
        listen(m_listener, 0);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        // Fill the queue until a connect hangs.
        for (int i = 0; i < 8 && !m_full; ++i) {
            const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            connect(client, reinterpret_cast<sockaddr*>(&address), length);
            pollfd entry{client, POLLOUT, 0};
            m_full = poll(&entry, 1, 200) == 0;
            m_clients.push_back(client);
        }
    }
    ~UnansweringListener() {
        for (int client : m_clients) {
            close(client);
        }
        close(m_listener);
    }
    bool Full() const { return m_full; }
    uint16_t port = 0;

private:
    int m_listener = -1;
    bool m_full = false;
    std::vector<int> m_clients;
};

TEST_F(LinkOverTcp, AnUnansweredConnectTimesOutAndClosingCutsItShort) {
    UnansweringListener silent;
    ASSERT_TRUE(silent.Full()) << "cannot make a connect that hangs";
    WriteEntry("tcp://127.0.0.1:" + std::to_string(silent.port));

    limits.connectMs = 300;
    Open();
    ASSERT_EQ(result, kSuccess);
    EXPECT_EQ(arrivals.WaitForLinkLost(),
              std::vector<ResultCode>{static_cast<ResultCode>(ETIMEDOUT)});
    link.reset();

    limits.connectMs = 60000;
    ArrivalCounter waiting;
    Open(&waiting);
    auto closing = std::async(std::launch::async, [&] { return link->ClosePort(); });
    ASSERT_EQ(closing.wait_for(seconds(1)), std::future_status::ready);
    EXPECT_EQ(waiting.LinkLost(), 0u);
    EXPECT_EQ(waiting.Posts(), 0);
}

TEST_F(LinkOverTcp, GoodbyeToADeviceThatDoesNotReadIsBounded) {
    device.LimitReceiveBuffer(4096);
    Open();
    ASSERT_EQ(result, kSuccess);
    ExpectSentTo(device, HandheldPrefix(kMsgHello));
    ASSERT_EQ(DeliverFrom(device, *link, arrivals,
                          EncodePanelDescription(
                              {DeviceControl('O', 0, 10).ValueBytes({}).U32('m', 1 << 20)})),
              kArrivalNewPanel);
    // The connection's buffers take a few megabytes before the writes stop.
    std::vector<uint8_t> blob(1 << 20, 0x5A);
    ResultCode sent = kSuccess;
    for (int i = 0; i < 16 && sent == kSuccess; ++i) {
        link->Store().SetControlValue(10, blob.data(), static_cast<uint32_t>(blob.size()));
        sent = link->SendChangedValues();
    }
    ASSERT_EQ(sent, kWriteGaveUp) << "the device must stop the writes";

    auto leaving = std::async(std::launch::async, [&] { return link->DisconnectWithin(200); });
    ASSERT_EQ(leaving.wait_for(seconds(1)), std::future_status::ready);
    EXPECT_EQ(leaving.get(), kWriteGaveUp);
    EXPECT_FALSE(link->IsPortOpen());
}

} // namespace
} // namespace ksv::testing

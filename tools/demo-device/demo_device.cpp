#include "demo_device.h"

#include "port_write.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace ksv::demo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPeerPollMs = 200;
constexpr int kWritePatienceMs = 2000;
constexpr auto kTick = std::chrono::seconds(1);

int MillisecondsUntil(Clock::time_point when) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

} // namespace

DemoDevice::DemoDevice(DevicePort& port, std::ostream& log)
    : m_port(port), m_log(log),
      m_session([this](const DeviceMessage& message) { return SendFrame(message); }, log) {
    if (::pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
}

DemoDevice::~DemoDevice() {
    ::close(m_stopPipe[0]);
    ::close(m_stopPipe[1]);
}

void DemoDevice::RequestStop() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stopPipe[1], &byte, 1);
}

bool DemoDevice::StopRequested() const {
    pollfd entry{m_stopPipe[0], POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0;
}

void DemoDevice::Run() {
    auto nextTick = Clock::now() + kTick;
    while (!StopRequested()) {
        if (!WaitForPeer()) {
            continue;
        }
        pollfd entries[2] = {{m_port.Fd(), POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(entries, 2, MillisecondsUntil(nextTick)) < 0 && errno != EINTR) {
            break;
        }
        if (entries[0].revents & POLLIN) {
            ReadAvailable();
        }
        if (Clock::now() >= nextTick) {
            m_session.OnTick();
            nextTick = Clock::now() + kTick;
        }
    }
    m_session.SayGoodbye();
}

// With nobody on the far end a pty master reports a hang-up at once and a listener has nobody
// to take; look again a little later instead of spinning.
bool DemoDevice::WaitForPeer() {
    if (m_port.PeerPresent()) {
        if (!m_peerPresent) {
            m_log << "demo-device: the port was opened\n";
            m_peerPresent = true;
        }
        return true;
    }
    if (m_peerPresent) {
        LoseSession();
    }
    pollfd entry{m_stopPipe[0], POLLIN, 0};
    ::poll(&entry, 1, kPeerPollMs);
    return false;
}

void DemoDevice::LoseSession() {
    m_peerPresent = false;
    m_session.OnHangUp();
    m_parser.Reset();
    m_port.Flush();
}

void DemoDevice::ReadAvailable() {
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_port.Fd(), buffer, sizeof buffer);
        if (got > 0) {
            m_parser.Feed(buffer, static_cast<size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        break; // EAGAIN: all read; EIO: hung up, seen on the next turn
    }
    while (auto frame = m_parser.Next()) {
        m_session.OnFrame(*frame);
    }
}

bool DemoDevice::SendFrame(const DeviceMessage& message) {
    const std::vector<uint8_t> bytes = message.Frame();
    const WriteOutcome outcome = WriteWhole(m_port, bytes.data(), bytes.size(), kWritePatienceMs);
    if (outcome == WriteOutcome::kStalled) {
        m_log << "demo-device: the handheld does not read; frame dropped\n";
    }
    return outcome == WriteOutcome::kDone;
}

} // namespace ksv::demo

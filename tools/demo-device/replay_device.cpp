#include "replay_device.h"

#include "link/frame.h"
#include "port_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>
#include <utility>

namespace ksv::demo {
namespace {

constexpr int kIdlePollMs = 200;
constexpr int kWritePatienceMs = 2000;

} // namespace

ReplayDevice::ReplayDevice(DevicePort& port, ReplayScript script, double speed, std::ostream& log)
    : m_port(port), m_script(std::move(script)), m_speed(speed), m_log(log) {
    if (::pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
}

ReplayDevice::~ReplayDevice() {
    ::close(m_stopPipe[0]);
    ::close(m_stopPipe[1]);
}

void ReplayDevice::RequestStop() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_stopPipe[1], &byte, 1);
}

bool ReplayDevice::StopRequested() const {
    pollfd entry{m_stopPipe[0], POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0;
}

void ReplayDevice::Run() {
    while (!StopRequested()) {
        if (!WaitForPeer()) {
            continue;
        }
        pollfd entries[2] = {{m_port.Fd(), POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(entries, 2, MillisecondsToNext()) < 0 && errno != EINTR) {
            break;
        }
        if (entries[0].revents & POLLIN) {
            ReadAvailable();
        }
        SendDue();
    }
}

bool ReplayDevice::WaitForPeer() {
    if (m_port.PeerPresent()) {
        m_peerPresent = true;
        return true;
    }
    if (m_peerPresent) {
        m_peerPresent = false;
        m_playing = false;
        m_parser.Reset();
        m_port.Flush();
        m_log << "demo-device: the client went away\n";
    }
    pollfd entry{m_stopPipe[0], POLLIN, 0};
    ::poll(&entry, 1, kIdlePollMs);
    return false;
}

void ReplayDevice::ReadAvailable() {
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
        break;
    }
    // The client's own frames are not answered: the recording holds the answers.
    while (auto frame = m_parser.Next()) {
        if (frame->kind == kMsgHello && !m_playing) {
            m_playing = true;
            m_next = 0;
            m_start = Clock::now();
            m_log << "demo-device: Hello: replaying " << m_script.chunks.size() << " pieces\n";
        }
    }
}

ReplayDevice::Clock::time_point ReplayDevice::DueAt(const ReplayChunk& chunk) const {
    const auto offset = std::chrono::microseconds(
        static_cast<int64_t>(static_cast<double>(chunk.micros) / m_speed));
    return m_start + std::chrono::duration_cast<Clock::duration>(offset);
}

int ReplayDevice::MillisecondsToNext() const {
    if (!m_playing || m_next >= m_script.chunks.size()) {
        return kIdlePollMs;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        DueAt(m_script.chunks[m_next]) - Clock::now());
    return static_cast<int>(std::clamp<int64_t>(left.count(), 0, kIdlePollMs));
}

void ReplayDevice::SendDue() {
    while (m_playing && m_next < m_script.chunks.size() &&
           DueAt(m_script.chunks[m_next]) <= Clock::now()) {
        const ReplayChunk& chunk = m_script.chunks[m_next++];
        if (WriteWhole(m_port, chunk.bytes.data(), chunk.bytes.size(), kWritePatienceMs) !=
            WriteOutcome::kDone) {
            m_log << "demo-device: the client does not read; replay stopped\n";
            m_playing = false;
            return;
        }
    }
    if (m_playing && m_next == m_script.chunks.size()) {
        m_log << "demo-device: replay done\n";
        m_playing = false;
    }
}

} // namespace ksv::demo

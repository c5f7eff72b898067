#include "chaos_device.h"

#include "link/frame.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace ksv::chaos {
namespace {

using std::chrono::milliseconds;

constexpr auto kSendPatience = std::chrono::seconds(3);
// Longer than the link's frame stall limit, so the handheld gives the frame up first.
constexpr milliseconds kStall{3500};

int MillisecondsUntil(std::chrono::steady_clock::time_point when) {
    const auto left =
        std::chrono::duration_cast<milliseconds>(when - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

} // namespace

ChaosDevice::ChaosDevice(int portNumber, std::string portsFolder, uint32_t seed)
    : m_portNumber(portNumber), m_portsFolder(std::move(portsFolder)), m_frames(seed) {}

ChaosDevice::~ChaosDevice() {
    Stop();
}

void ChaosDevice::Start() {
    Reopen();
    m_thread = std::thread([this] { Loop(); });
}

void ChaosDevice::Stop() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_port.reset();
}

void ChaosDevice::Reopen() {
    m_port.reset();
    m_parser.Reset();
    m_pending.clear();
    m_sessionOpen = false;
    while (!m_port) {
        try {
            m_port = std::make_unique<demo::PtyPort>(m_portNumber, m_portsFolder);
        } catch (const std::runtime_error&) {
            std::this_thread::sleep_for(milliseconds(100)); // out of terminals for a moment
        }
    }
}

void ChaosDevice::Loop() {
    while (!m_stop) {
        Serve(milliseconds(50 + m_frames.Draw(400)));
        if (m_sessionOpen && !m_stop) {
            InjectFault();
        }
    }
}

void ChaosDevice::InjectFault() {
    ++m_counts.faults;
    switch (m_frames.Draw(17)) {
    case 0: { // stops in the middle of a frame
        size_t keep = 0;
        const std::vector<uint8_t> frame = m_frames.Truncated(keep);
        Send(std::vector<uint8_t>(frame.begin(), frame.begin() + keep));
        Serve(kStall, false);
        return;
    }
    case 1: // vanishes and comes back
        m_port.reset();
        std::this_thread::sleep_for(milliseconds(200 + m_frames.Draw(1300)));
        Reopen();
        return;
    case 2:
        Send(m_frames.Garbage(), false);
        return;
    case 3:
        Send(m_frames.Oversize());
        return;
    case 4:
    case 5: // a flood of values at full speed
        for (uint32_t i = 0, n = 200 + m_frames.Draw(2000); i < n && !m_stop; ++i) {
            if (!Send(m_frames.Update())) {
                return;
            }
        }
        return;
    case 6:
        Send(m_frames.Files());
        return;
    case 7: // layout entries, now and then a flood of keys never sent before
        Send(m_frames.Draw(3) == 0 ? m_frames.LayoutFlood()
                                   : m_frames.LayoutBurst(100 + m_frames.Draw(5000)));
        return;
    case 8: // pings left unanswered for a while
        m_answerPings = false;
        Serve(milliseconds(2000 + m_frames.Draw(6000)));
        m_answerPings = true;
        return;
    case 9:
        Send(EncodeBareFrame(kMsgDevicePing).Frame());
        return;
    case 10:
        Send(EncodeBareFrame(kMsgResetRequest).Frame());
        return;
    case 11:
        if (m_frames.Draw(4) == 0) {
            Send(EncodeBareFrame(kMsgGoodbyeFromDevice).Frame());
        }
        return;
    case 12:
        Send(m_frames.LongName());
        return;
    case 13:
    case 14: // a panel the screen must bound, for a while, then the usual one again
        Send(m_frames.Draw(2) == 0 ? m_frames.ImageFlood() : m_frames.BigPanel());
        Serve(milliseconds(1000 + m_frames.Draw(3000)));
        Send(m_frames.Panel());
        return;
    default:
        Send(m_frames.Update());
        return;
    }
}

void ChaosDevice::Serve(milliseconds duration, bool answer) {
    const auto until = Clock::now() + duration;
    while (!m_stop && Clock::now() < until) {
        if (answer) {
            AnswerPending();
        }
        pollfd entry{m_port->MasterFd(), POLLIN, 0};
        if (poll(&entry, 1, std::min(MillisecondsUntil(until), 50)) > 0 &&
            (entry.revents & POLLIN) != 0) {
            ReadAvailable();
        } else if ((entry.revents & (POLLHUP | POLLERR)) != 0) {
            m_sessionOpen = false; // nobody has the port open
            std::this_thread::sleep_for(milliseconds(20));
        }
    }
}

void ChaosDevice::ReadAvailable() {
    uint8_t buffer[4096];
    const ssize_t count = read(m_port->MasterFd(), buffer, sizeof buffer);
    if (count <= 0) {
        return;
    }
    m_parser.Feed(buffer, static_cast<size_t>(count));
    while (auto frame = m_parser.Next()) {
        m_pending.push_back(std::move(*frame));
    }
}

void ChaosDevice::AnswerPending() {
    while (!m_pending.empty() && !m_stop) {
        const demo::HandheldFrame frame = std::move(m_pending.front());
        m_pending.erase(m_pending.begin());
        Answer(frame);
    }
}

void ChaosDevice::Answer(const demo::HandheldFrame& frame) {
    switch (frame.kind) {
    case kMsgHello:
        ++m_counts.hellos;
        m_sessionOpen = Send(EncodeHelloReply(u"Chaos", false).Frame()) &&
                        Send(m_frames.Panel(m_frames.Draw(2) ? kFlagAckRequested : 0));
        return;
    case kMsgGoodbyeFromHandheld:
        m_sessionOpen = false;
        return;
    case kMsgPing:
        if (!m_answerPings) {
            ++m_counts.pingsIgnored;
            return;
        }
        Send(EncodeBareFrame(kMsgPingReply).Frame());
        return;
    case kMsgLayoutRequest:
        Send(m_frames.RecommendedLayout());
        return;
    default:
        return;
    }
}

bool ChaosDevice::Send(const std::vector<uint8_t>& bytes, bool countFrame) {
    if (countFrame) {
        ++m_counts.frames;
    }
    const auto giveUpAt = Clock::now() + kSendPatience;
    size_t done = 0;
    while (done < bytes.size() && !m_stop) {
        const ssize_t count = write(m_port->MasterFd(), bytes.data() + done, bytes.size() - done);
        if (count > 0) {
            done += static_cast<size_t>(count);
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (Clock::now() >= giveUpAt) {
            return false;
        }
        pollfd entries{m_port->MasterFd(), POLLOUT | POLLIN, 0};
        poll(&entries, 1, 10);
        if ((entries.revents & POLLIN) != 0) {
            ReadAvailable(); // answered once this frame is out
        }
    }
    return done == bytes.size();
}

} // namespace ksv::chaos

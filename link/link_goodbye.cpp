#include "link/frame.h"
#include "link/link.h"
#include "link/link_state.h"
#include "link/write_budget.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

namespace ksv {
namespace {

using Clock = std::chrono::steady_clock;

// The write lock is a plain mutex; asking again this often keeps the wait within its bound.
constexpr auto kLockRetry = std::chrono::milliseconds(2);

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

ResultCode Link::DisconnectWithin(int goodbyeMs) {
    if (!m_state->portOpen) {
        return kNoPort;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(goodbyeMs);
    // A writer stuck on a stalled device (a reply from the receive thread) may hold the lock.
    std::unique_lock<std::mutex> writing(m_state->writeMutex, std::defer_lock);
    while (!writing.try_lock()) {
        if (MillisecondsUntil(deadline) == 0) {
            ClosePort();
            return kWriteGaveUp;
        }
        std::this_thread::sleep_for(kLockRetry);
    }
    ResultCode result = kNoPort;
    if (m_state->port && m_state->port->IsEstablished()) {
        LinkLimits limits = m_state->limits;
        limits.frameWriteMs = std::max(1, MillisecondsUntil(deadline));
        limits.writeStallMs = std::min(limits.writeStallMs, limits.frameWriteMs);
        const auto frame = EncodeFramePrefix(kMsgGoodbyeFromHandheld);
        result = AtBoundary(WriteWithinBudget(*m_state->port, frame.data(), kFramePrefixSize,
                                              kGoodbyePatience, limits));
    }
    writing.unlock();
    ClosePort();
    return result;
}

} // namespace ksv

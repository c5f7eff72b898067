#include "link/reconnect_policy.h"

#include <algorithm>
#include <string>

namespace ksv {

bool EndingRetries(SessionEnd end) {
    return end == SessionEnd::LinkFailed || end == SessionEnd::PingUnanswered;
}

std::chrono::milliseconds RetryDelay(const ReconnectSchedule& schedule, int attempt) {
    const auto most = std::max(schedule.most, schedule.base);
    auto delay = schedule.base;
    // Doubled step by step, so that no count of attempts can overflow a shift.
    for (int i = 1; i < attempt && delay < most; ++i) {
        delay *= 2;
    }
    return std::min(delay, most);
}

bool ReconnectPolicy::OnSessionEnded(SessionEnd end, bool enabled) {
    if (m_phase == Phase::Attempting && EndingRetries(end)) {
        OnAttemptFailed();
        return true;
    }
    if (!enabled || !EndingRetries(end)) {
        Stop();
        return false;
    }
    m_phase = Phase::Waiting;
    m_attempt = 1;
    return true;
}

void ReconnectPolicy::OnAttemptStarted() {
    if (m_phase == Phase::Waiting) {
        m_phase = Phase::Attempting;
    }
}

void ReconnectPolicy::OnAttemptFailed() {
    if (m_phase == Phase::Idle) {
        return;
    }
    m_phase = Phase::Waiting;
    ++m_attempt;
}

bool ReconnectPolicy::Stop() {
    const bool wasRetrying = IsRetrying();
    m_phase = Phase::Idle;
    m_attempt = 0;
    return wasRetrying;
}

std::string ReconnectStatusText(int portNumber, const ReconnectPolicy& policy,
                                std::chrono::milliseconds remaining) {
    if (!policy.IsRetrying()) {
        return std::string();
    }
    // No-break spaces keep "in 4 s" and "(attempt 3)" whole where the line wraps.
    const std::string space = "\u00a0";
    std::string text = "Reconnecting to COM" + std::to_string(portNumber) + ": ";
    if (policy.CurrentPhase() == ReconnectPolicy::Phase::Waiting) {
        const auto seconds = std::chrono::ceil<std::chrono::seconds>(remaining).count();
        text +=
            "in" + space + std::to_string(std::max<decltype(seconds)>(seconds, 1)) + space + "s ";
    } else {
        text += "connecting ";
    }
    return text + "(attempt" + space + std::to_string(policy.Attempt()) + ")\u2026";
}

} // namespace ksv

#pragma once

#include <chrono>
#include <string>

namespace ksv {

// How a session ended, as far as connecting again goes.
enum class SessionEnd {
    UserClosed,     // Close, or any other command of the user's
    DeviceGoodbye,  // the device ended it (Goodbye, or a Hello of its own)
    LinkFailed,     // the port went away or the connection broke
    PingUnanswered, // the device stopped answering, or a ping could not be written
};

// Whether the device may come back by itself after such an ending: only then is it retried.
bool EndingRetries(SessionEnd end);

struct ReconnectSchedule {
    std::chrono::milliseconds base{2000};  // before the first retry; doubled for each next one
    std::chrono::milliseconds most{30000}; // no wait is longer
    // An attempt that has brought no panel by then has failed (a device that takes the
    // connection but does not answer).
    std::chrono::milliseconds answerWait{10000};
};

// The wait before retry `attempt` (1-based): base, doubling up to `most` (2, 4, 8, 16, 30, 30 s
// by default).
std::chrono::milliseconds RetryDelay(const ReconnectSchedule& schedule, int attempt);

// Retrying one connection: Idle, Waiting for attempt n, or Attempting n until a panel comes.
class ReconnectPolicy {
public:
    enum class Phase { Idle, Waiting, Attempting };

    explicit ReconnectPolicy(ReconnectSchedule schedule = {}) : m_schedule(schedule) {}

    void SetSchedule(const ReconnectSchedule& schedule) { m_schedule = schedule; }
    const ReconnectSchedule& Schedule() const { return m_schedule; }

    // A session ended: Waiting for attempt 1 when `enabled` and the ending retries, else Idle.
    // A session that ends while an attempt runs is that attempt failing. True when waiting.
    bool OnSessionEnded(SessionEnd end, bool enabled);
    // Waiting -> Attempting (the due attempt is being made).
    void OnAttemptStarted();
    // The attempt failed (no port, no connection, no panel in time): Waiting for the next.
    void OnAttemptFailed();
    // A panel arrived: the connection is back, a later ending starts again from `base`.
    void OnPanelArrived() { Stop(); }
    // Idle; true when it was retrying.
    bool Stop();

    Phase CurrentPhase() const { return m_phase; }
    bool IsRetrying() const { return m_phase != Phase::Idle; }
    int Attempt() const { return m_attempt; } // due or running
    std::chrono::milliseconds Delay() const { return RetryDelay(m_schedule, m_attempt); }

private:
    ReconnectSchedule m_schedule;
    Phase m_phase = Phase::Idle;
    int m_attempt = 0;
};

// The start screen's line (UTF-8), e.g. "Reconnecting to COM8: in 4 s (attempt 3)…"; `remaining` is
// the wait left (rounded up to whole seconds), or none while the attempt runs.
std::string ReconnectStatusText(int portNumber, const ReconnectPolicy& policy,
                                std::chrono::milliseconds remaining);

} // namespace ksv

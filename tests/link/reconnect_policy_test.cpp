#include "link/reconnect_policy.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

using namespace std::chrono_literals;
using Phase = ReconnectPolicy::Phase;

TEST(ReconnectPolicy, WaitsDoubleFromTheBaseUpToTheMostWhateverTheCount) {
    const ReconnectSchedule standard;
    const std::chrono::milliseconds expected[] = {2s, 4s, 8s, 16s, 30s, 30s};
    for (int attempt = 1; attempt <= 6; ++attempt) {
        EXPECT_EQ(RetryDelay(standard, attempt), expected[attempt - 1]) << attempt;
    }
    EXPECT_EQ(RetryDelay(standard, 1000000), 30s);
    const ReconnectSchedule quick{50ms, 150ms, 1s};
    EXPECT_EQ(RetryDelay(quick, 2), 100ms);
    EXPECT_EQ(RetryDelay(quick, 3), 150ms);
}

TEST(ReconnectPolicy, FailedAttemptsCountAPanelStartsAgainGoodbyeStops) {
    ReconnectPolicy policy;
    ASSERT_TRUE(policy.OnSessionEnded(SessionEnd::LinkFailed, true));
    policy.OnAttemptStarted();
    EXPECT_EQ(policy.CurrentPhase(), Phase::Attempting);
    policy.OnAttemptFailed();
    policy.OnAttemptStarted();
    // The attempt's connection breaking is that attempt failing, not a fresh start.
    EXPECT_TRUE(policy.OnSessionEnded(SessionEnd::LinkFailed, true));
    EXPECT_EQ(policy.CurrentPhase(), Phase::Waiting);
    EXPECT_EQ(policy.Attempt(), 3);
    EXPECT_EQ(policy.Delay(), 8s);
    EXPECT_EQ(ReconnectStatusText(8, policy, 3500ms),
              "Reconnecting to COM8: in\u00a04\u00a0s (attempt\u00a03)\u2026");
    policy.OnAttemptStarted();
    EXPECT_EQ(ReconnectStatusText(8, policy, 0ms),
              "Reconnecting to COM8: connecting (attempt\u00a03)\u2026");

    policy.OnPanelArrived();
    EXPECT_FALSE(policy.IsRetrying());
    EXPECT_FALSE(policy.OnSessionEnded(SessionEnd::PingUnanswered, false)) << "not enabled";
    ASSERT_TRUE(policy.OnSessionEnded(SessionEnd::PingUnanswered, true));
    EXPECT_EQ(policy.Attempt(), 1);
    policy.OnAttemptStarted();
    EXPECT_FALSE(policy.OnSessionEnded(SessionEnd::DeviceGoodbye, true));
    EXPECT_EQ(ReconnectStatusText(8, policy, 0ms), "");
}

} // namespace
} // namespace ksv

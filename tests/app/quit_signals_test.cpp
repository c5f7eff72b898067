#include "platform/qt/quit_signals.h"

#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace ksv {
namespace {

TEST(QuitSignals, TermAndInterruptReachTheGuiThreadAsACall) {
    int calls = 0;
    {
        QuitSignals handlers([&] { ++calls; });
        ASSERT_TRUE(handlers.IsActive());
        QuitSignals second([&] { calls += 100; });
        EXPECT_FALSE(second.IsActive()); // one owner of the handlers at a time

        std::raise(SIGTERM);
        EXPECT_EQ(calls, 0); // not from inside the handler
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000));
        std::raise(SIGINT);
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 5000));
    }
    // Gone: the default action is back (checked without raising it).
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    EXPECT_EQ(calls, 2);
}

} // namespace
} // namespace ksv

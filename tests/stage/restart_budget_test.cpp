#include "stage/restart_budget.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

TEST(RestartBudget, ThreeTriesAMinuteThenNoneUntilTheNextAddress) {
    RestartBudget budget;
    const double t = 45000.0;
    EXPECT_TRUE(budget.TryRestart(t));
    EXPECT_TRUE(budget.TryRestart(t + 10 * kSecond));
    EXPECT_TRUE(budget.TryRestart(t + 20 * kSecond));
    EXPECT_FALSE(budget.TryRestart(t + 30 * kSecond));
    // Spent: even once the minute is over it stays on its error page...
    EXPECT_FALSE(budget.TryRestart(t + 300 * kSecond));
    // ...until it is sent its next address.
    budget.Reset();
    EXPECT_TRUE(budget.TryRestart(t + 301 * kSecond));
}

TEST(RestartBudget, TriesOlderThanAMinuteNoLongerCount) {
    RestartBudget budget;
    const double t = 45000.0;
    EXPECT_TRUE(budget.TryRestart(t));
    EXPECT_TRUE(budget.TryRestart(t + 30 * kSecond));
    EXPECT_TRUE(budget.TryRestart(t + 61 * kSecond));  // the first try has left the window
    EXPECT_TRUE(budget.TryRestart(t + 62 * kSecond));
    EXPECT_FALSE(budget.TryRestart(t + 63 * kSecond));
}

}  // namespace
}  // namespace pagelark

#include "stage/restart_budget.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace pagelark {
namespace {

TEST(RestartBudget, ThreeTriesAMinuteThenNoneUntilTheNextAddress) {
    RestartBudget budget;
    // Whether a reload is allowed at each of these seconds, 'y' or 'n'.
    const auto tries = [&budget](std::initializer_list<int> seconds) {
        std::string allowed;
        for (int s : seconds)
            allowed += budget.TryRestart(45000.0 + s / 86400.0) ? 'y' : 'n';
        return allowed;
    };
    EXPECT_EQ(tries({0, 30, 61, 62, 63}), "yyyyn");  // the try at 0 has left the minute by 61
    // Spent: even once the minute is over it stays on its error page...
    EXPECT_EQ(tries({300}), "n");
    // ...until it is sent its next address.
    budget.Reset();
    EXPECT_EQ(tries({301, 302, 303, 304}), "yyyn");
}

}  // namespace
}  // namespace pagelark

#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pagelark {
namespace {

TEST(DateTimeValue, CountsDaysFromTheEndOf1899) {
    EXPECT_DOUBLE_EQ(DateTimeValue(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(DateTimeValue(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(DateTimeValue(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(DateTimeValue(2024, 2, 29, 12), 45351.5);
    EXPECT_DOUBLE_EQ(DateTimeValue(2024, 3, 1, 6, 30), 45352.0 + 6.5 / 24.0);
}

TEST(SystemClock, IsSomewhereInThisCentury) {
    const double now = SystemClock().Now();
    EXPECT_GT(now, DateTimeValue(2020, 1, 1));
    EXPECT_LT(now, DateTimeValue(2100, 1, 1));
}

}  // namespace
}  // namespace pagelark

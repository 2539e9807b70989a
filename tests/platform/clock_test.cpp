#include "platform/clock.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(DateTimeValue, CountsDaysFromTheEndOf1899) {
    EXPECT_DOUBLE_EQ(DateTimeValue(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(DateTimeValue(2024, 3, 1, 6, 30), 45352.0 + 6.5 / 24.0);
}

}  // namespace
}  // namespace pagelark

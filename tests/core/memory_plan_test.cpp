#include "core/memory_plan.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

constexpr long long kMiB = 1024;

TEST(MemoryPlan, SmallMachinesAndTheSettingGetACeilingOfHalfTheirMemoryWithinBounds) {
    const struct {
        long long availableKiB;
        bool setting;
        MemoryPlan plan;
    } cases[] = {
        {0, false, {}},                                 // unknown: as a large machine
        {2049 * kMiB, false, {}},                       // just above 2 GiB
        {2048 * kMiB, false, {true, 1024 * kMiB}},      // 2 GiB
        {1024 * kMiB, false, {true, 512 * kMiB}},       // a 1 GiB control group
        {300 * kMiB, false, {true, 256 * kMiB}},        // never below the floor
        {24 * 1024 * kMiB, true, {true, 1024 * kMiB}},  // asked for on a large machine
        {0, true, {true, 1024 * kMiB}},
    };
    for (const auto& c : cases) {
        const MemoryPlan plan = PlanMemory(c.availableKiB, c.setting);
        EXPECT_EQ(plan.low, c.plan.low) << c.availableKiB;
        EXPECT_EQ(plan.ceilingKiB, c.plan.ceilingKiB) << c.availableKiB;
    }
    const MemoryPlan plan = PlanMemory(1024 * kMiB, false);
    EXPECT_FALSE(OverCeiling(plan, 512 * kMiB));
    EXPECT_TRUE(OverCeiling(plan, 512 * kMiB + 1));
    EXPECT_FALSE(OverCeiling(MemoryPlan{}, 1LL << 40));
    EXPECT_NE(DescribePlan(plan).find("512 MiB"), std::string::npos);
    EXPECT_EQ(DescribePlan(MemoryPlan{}), "");
}

}  // namespace
}  // namespace pagelark

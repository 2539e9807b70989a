#include "core/memory_plan.h"

#include <algorithm>

namespace pagelark {
namespace {

constexpr long long kMiB = 1024;
constexpr long long kSmallMachineKiB = 2048 * kMiB;
// Half of what there is leaves the rest to the system and to the growth between readings;
// a floor a kiosk of three browsers can live in, and no ceiling above what a large machine
// asked for the mode would ever need.
constexpr long long kLowestCeilingKiB = 256 * kMiB;
constexpr long long kHighestCeilingKiB = 1024 * kMiB;

}  // namespace

MemoryPlan PlanMemory(long long availableKiB, bool lowMemorySetting) {
    const bool small = availableKiB > 0 && availableKiB <= kSmallMachineKiB;
    if (!small && !lowMemorySetting) return {};
    const long long half = availableKiB > 0 ? availableKiB / 2 : kHighestCeilingKiB;
    return {true, std::clamp(half, kLowestCeilingKiB, kHighestCeilingKiB)};
}

bool OverCeiling(const MemoryPlan& plan, long long treeKiB) {
    return plan.low && treeKiB > plan.ceilingKiB;
}

std::string DescribePlan(const MemoryPlan& plan) {
    if (!plan.low) return "";
    return "low-memory mode: the kiosk keeps its processes under " +
           std::to_string(plan.ceilingKiB / kMiB) +
           " MiB; above it the browsers not on show are made anew at a page change";
}

}  // namespace pagelark

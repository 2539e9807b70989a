#pragma once
// How much memory the kiosk lets itself take. On a small machine (2 GiB or less, or less
// where its control group sets a limit) or when the LowMemory setting asks, the engine saves
// memory where it can and the whole process tree keeps under a ceiling: above it, the browsers
// not on show are made anew at the next page boundary, which gives their renderers' memory
// back.

#include <string>

namespace pagelark {

struct MemoryPlan {
    bool low = false;
    long long ceilingKiB = 0;  // 0: none
};

// availableKiB: what the kiosk may use, 0 when unknown.
MemoryPlan PlanMemory(long long availableKiB, bool lowMemorySetting);
bool OverCeiling(const MemoryPlan& plan, long long treeKiB);
// The line the log gets at start.
std::string DescribePlan(const MemoryPlan& plan);

}  // namespace pagelark

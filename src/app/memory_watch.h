#pragma once
// The engine's low-memory mode and the kiosk's memory ceiling, watched from the timer.

#include "core/memory_plan.h"

namespace pagelark {

class MemoryWatch {
  public:
    // Before the first browser starts: the engine takes its memory mode from its flags.
    void Plan(bool lowMemory);
    // Each timer step: true when the kiosk is over its ceiling and the spare browsers should
    // start afresh.
    bool OverCeiling();

  private:
    MemoryPlan plan_;
    int ticksToReading_ = 0;
};

}  // namespace pagelark

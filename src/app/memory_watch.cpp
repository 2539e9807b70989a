#include "app/memory_watch.h"

#include <QByteArray>
#include <QString>
#include <iostream>

#include "core/engine_flags.h"
#include "platform/log.h"
#include "platform/process_memory.h"

namespace pagelark {

void MemoryWatch::Plan(bool lowMemory) {
    plan_ = PlanMemory(MemoryLimitKiB(), lowMemory);
    if (!plan_.low) return;
    std::cerr << "pagelark: " << DescribePlan(plan_) << "\n";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            QByteArray::fromStdString(MemoryEngineFlags(
                qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString(), true)));
}

bool MemoryWatch::OverCeiling() {
    // A reading walks every process of the system: every five seconds is enough.
    constexpr int kTicksBetweenReadings = 25;
    if (!plan_.low || --ticksToReading_ > 0) return false;
    ticksToReading_ = kTicksBetweenReadings;
    const long long treeKiB = PssKiB(ProcessTree(CurrentProcessId()));
    if (!pagelark::OverCeiling(plan_, treeKiB)) return false;
    Log(LogArea::Player, "memory ", treeKiB / 1024,
        " MiB over the ceiling: spare browsers renewed");
    return true;
}

}  // namespace pagelark

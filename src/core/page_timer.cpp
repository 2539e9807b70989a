#include "core/page_timer.h"

#include <algorithm>
#include <limits>

#include "core/days.h"

namespace pagelark {

PageTimer::Turn PageTimer::At(double now, std::chrono::seconds display,
                              const BrowserRotation::Record& preload,
                              std::chrono::seconds maxTime) const {
    const double onShow = now - start_;
    if (!IsCutShort() && (display == std::chrono::seconds::zero() || !(onShow > InDays(display))))
        return Turn::Stay;
    // An error page never comes on show; the failed page is tried again at its next turn.
    if (preload.failed) return Turn::PassOver;
    // MaxTime counts from the moment the page came on show, not from the end of its time.
    return PreloadHolds(onShow, preload, maxTime) ? Turn::Stay : Turn::Advance;
}

bool PreloadHolds(double waited, const BrowserRotation::Record& preload,
                  std::chrono::seconds maxTime) {
    return !preload.loaded && !preload.failed && !(waited > InDays(maxTime));
}

CounterMove MoveCounter(std::int32_t counter, int delta, std::int32_t count, bool autoLoop) {
    const std::int64_t moved = std::clamp<std::int64_t>(std::int64_t{counter} + delta,
                                                        std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max());
    CounterMove move{counter, false};
    // There is no page below the start page; without AutoLoop the counter stops there.
    if (!(moved < 0 && delta != 1 && !autoLoop)) move.counter = static_cast<std::int32_t>(moved);
    if (delta == 1 && move.counter > count) {
        if (autoLoop)
            move.counter = 1;
        else
            move.ends = true;
    }
    if (delta != 1 && move.counter < 1 && autoLoop) move.counter = count;
    return move;
}

}  // namespace pagelark

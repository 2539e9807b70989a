#include "core/idle_watch.h"

#include <algorithm>
#include <utility>

#include "core/days.h"

namespace pagelark {

namespace {

// Held in single precision on purpose.
const float kMouseGrace = static_cast<float>(InDays(std::chrono::seconds{2}));

// A time-out of zero plays as a minute.
bool IdleFor(double now, double since, std::chrono::seconds timeOut) {
    using std::chrono_literals::operator""s;
    return now - since > InDays(timeOut > 0s ? timeOut : 60s);
}

}  // namespace

IdleWatch::Move IdleWatch::PointerAt(ScreenPoint pointer, double now, MouseMovePolicy policy,
                                     bool navigationMode, bool locked) {
    const bool moved = pointer != std::exchange(lastPointer_, pointer);
    const bool touched = std::exchange(touched_, false);
    // A pointer resting away from where play left it is no one there: a visitor who touched
    // the screen once and walked away would hold navigation mode and a pause for ever.
    if (moved || touched) Input(now);
    if (pointer == reference_ && !touched) return Move::None;
    const bool graceOver = now - saverModeStart_ > kMouseGrace;
    if (policy == MouseMovePolicy::EnterNavigation && !navigationMode && graceOver)
        return Move::EnterNavigation;
    if (policy == MouseMovePolicy::EndShow && graceOver && !locked) return Move::EndShow;
    return Move::None;
}

bool IdleWatch::IdleOver(double now, bool screenSaveActive, std::chrono::seconds timeOut) const {
    return screenSaveActive && IdleFor(now, lastActivity_, timeOut);
}

bool IdleWatch::VisitOver(double now, std::chrono::seconds timeOut) const {
    return lastInput_ && IdleFor(now, *lastInput_, timeOut);
}

void IdleWatch::Follow(double now) {
    lastActivity_ = std::min(lastActivity_, now);
    saverModeStart_ = std::min(saverModeStart_, now);
    if (lastInput_) lastInput_ = std::min(*lastInput_, now);
}

}  // namespace pagelark

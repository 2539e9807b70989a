#include "core/screen_schedule.h"

#include "core/days.h"
#include "core/page_schedule.h"
#include "settings/settings.h"

namespace pagelark {

ScreenHours ReadScreenHours(const MachineSettings& machine) {
    const bool always =
        machine.ScreenDays.empty() && machine.ScreenOn.empty() && machine.ScreenOff.empty();
    return {ReadSchedule(machine.ScreenDays, machine.ScreenOn, machine.ScreenOff).schedule, always};
}

bool ScreenSchedule::HoursSayOn(double now) const {
    return hours_.always || IsDue(hours_.schedule, now);
}

void ScreenSchedule::Switch(bool on, double now) {
    switched_ = Switched{on, HoursSayOn(now)};
    // A visitor's earlier wake does not hold a screen switched off from afar.
    lastInput_.reset();
}

ScreenSchedule::Step ScreenSchedule::At(double now, std::chrono::seconds wakeFor) {
    const bool hoursSay = HoursSayOn(now);
    if (switched_ && switched_->hoursSaid != hoursSay) switched_.reset();
    bool on = switched_ ? switched_->on : hoursSay;
    if (lastInput_) {
        // A clock set back counts the wake from the new reading.
        if (*lastInput_ > now) lastInput_ = now;
        if (now - *lastInput_ < InDays(wakeFor))
            on = true;
        else
            lastInput_.reset();
    }
    // A kiosk that was never told of hours or switched leaves the display alone.
    if (!applied_ && on && hours_.always && !switched_) return {true, false};
    const bool apply =
        applied_ != on || appliedAt_ > now || now - appliedAt_ >= InDays(kPowerAppliedAgain);
    if (apply) {
        applied_ = on;
        appliedAt_ = now;
    }
    return {on, apply};
}

}  // namespace pagelark

#pragma once
// Whether the display is on: its hours, a switch by a remote service that holds until the hours
// next change, and a visitor's touch or key that wakes a dark screen for a while. The power
// state is sent again every few minutes, since screens and televisions forget it. Readings are
// local (days since 1899-12-30), so a clock set back counts from the new reading.

#include <chrono>
#include <optional>

#include "model/page_schedule.h"

namespace pagelark {

struct MachineSettings;

// The screen's hours as the settings hold them (ScreenDays, ScreenOn, ScreenOff); none at all
// is always on.
struct ScreenHours {
    PageSchedule schedule;
    bool always = true;
};
ScreenHours ReadScreenHours(const MachineSettings& machine);

inline constexpr std::chrono::minutes kPowerAppliedAgain{3};

class ScreenSchedule {
  public:
    struct Step {
        bool on = true;
        // Send the state to the display now: it changed, or it was sent a while ago.
        bool apply = false;
    };
    void SetHours(const ScreenHours& hours) { hours_ = hours; }
    bool HoursSayOn(double now) const;
    // A remote switch; it holds until the hours next change.
    void Switch(bool on, double now);
    // A visitor's touch or key: the screen stays on for wakeFor after the last one.
    void Input(double now) { lastInput_ = now; }
    Step At(double now, std::chrono::seconds wakeFor);

  private:
    struct Switched {
        bool on;
        bool hoursSaid;  // what the hours said when it was switched
    };
    ScreenHours hours_;
    std::optional<Switched> switched_;
    std::optional<double> lastInput_;
    std::optional<bool> applied_;
    double appliedAt_ = 0.0;
};

}  // namespace pagelark

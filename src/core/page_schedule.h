#pragma once
// Whether a page is due now. The clock reads local time, so a daylight-saving change or a
// clock set by hand is only another reading: nothing here remembers an earlier one except
// the watch, which takes a reading before the last as a reason to look again.

#include <string_view>

#include "model/page_schedule.h"

namespace pagelark {

class Clock;

// Due at the local reading (days since 1899-12-30): its day is one of the schedule's and its
// time of day within the window, or it is early on the day after a window's start that runs
// past midnight.
bool IsDue(const PageSchedule& schedule, double reading);
bool IsDueNow(const PageSchedule& schedule, const Clock& clock);

// With no page due the kiosk looks again as each minute begins (windows open on the minute),
// and at once after the clock went back.
class DueWatch {
  public:
    // Whether to look at the schedules again; a look is taken as done.
    bool LookAgain(double now);

  private:
    double last_ = 0.0;
    long long lastMinute_ = 0;
    bool looked_ = false;
};

}  // namespace pagelark

#pragma once
// "pagelark-tso next": the day ahead of a presentation, in plain lines, from the same rule the
// player follows (core/page_schedule.h), so that the tool and the kiosk cannot disagree.

#include <ctime>
#include <string>
#include <string_view>

#include "model/page_schedule.h"
#include "platform/result.h"

namespace pagelark {

struct Presentation;

// "YYYY-MM-DD HH:MM" in the local zone; refused for another form, a time the local clock
// never shows (skipped by a daylight-saving change), or a date the system cannot convert. Of a
// time it shows twice, the first.
Result<std::time_t> ParseLocalMoment(std::string_view text);

// From start (to its minute) until the same local time the next day: a line for the state at
// start, then one for each minute at which the pages due or the screen change. Refused when the
// system cannot convert a time of that day.
Result<std::string> NextDayText(const Presentation& presentation, const PageSchedule& screen,
                                std::time_t start);

}  // namespace pagelark

#pragma once
// When a page is due: the days of the week and the time of day its [PageN] section names
// (Days, From, To). A page without them is always due.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

struct PresentationPage;

// Bit d is the day d of the week, Sunday 0 to Saturday 6.
using DaySet = std::uint8_t;
inline constexpr DaySet kEveryDay = 0x7f;
inline constexpr int kMinutesPerDay = 24 * 60;

// "Mon-Fri", "Sat,Sun", "Mon-Wed,Fri" (English names or their first three letters, any case;
// a range may wrap, "Fri-Mon"); empty is every day. None for anything else.
std::optional<DaySet> ParseDays(std::string_view text);
// "HH:MM" (or "H:MM"), 00:00 to 23:59; "24:00" is midnight. Minutes since midnight; none for
// anything else, empty included.
std::optional<int> ParseHourMinute(std::string_view text);

struct PageSchedule {
    DaySet days = kEveryDay;
    // Minutes since midnight; to is exclusive, a window with to before from runs past midnight
    // and belongs to the day it starts on, and equal ones are the whole day.
    int from = 0;
    int to = 0;
    friend bool operator==(const PageSchedule&, const PageSchedule&) = default;
};

struct ScheduleRead {
    PageSchedule schedule;
    std::string problem;  // empty when every key was good
};

// The page's keys as stored. A bad Days is every day, a bad From or To the whole day: a page
// an owner meant to show is shown rather than lost to a typing error.
ScheduleRead ReadSchedule(std::string_view days, std::string_view from, std::string_view to);
// The page's own: its Days, From and To.
ScheduleRead ScheduleOf(const PresentationPage& page);

}  // namespace pagelark

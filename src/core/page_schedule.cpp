#include "core/page_schedule.h"

#include <cmath>

#include "platform/clock.h"

namespace pagelark {
namespace {

// 1899-12-30, day 0, was a Saturday.
int WeekdayOf(long long day) {
    return static_cast<int>(((day + 6) % 7 + 7) % 7);
}

bool On(DaySet days, long long day) {
    return (days >> WeekdayOf(day) & 1U) != 0;
}

}  // namespace

bool IsDue(const PageSchedule& schedule, double reading) {
    // To the whole second, so that 08:00 read as 07:59:59.9999 is 08:00.
    const long long seconds = std::llround(reading * kSecondsPerDay);
    const long long perDay = static_cast<long long>(kSecondsPerDay);
    const long long day = seconds >= 0 ? seconds / perDay : -((-seconds + perDay - 1) / perDay);
    const int minute = static_cast<int>((seconds - day * perDay) / 60);
    const int from = schedule.from;
    const int to = schedule.to;
    if (from == to) return On(schedule.days, day);
    if (from < to) return On(schedule.days, day) && minute >= from && minute < to;
    return (minute >= from && On(schedule.days, day)) ||
           (minute < to && On(schedule.days, day - 1));
}

bool IsDueNow(const PageSchedule& schedule, const Clock& clock) {
    return IsDue(schedule, clock.Now());
}

bool DueWatch::LookAgain(double now) {
    // To the whole second as IsDue reads it, so the look and the window agree on the minute.
    const long long seconds = std::llround(now * kSecondsPerDay);
    const long long minute = seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
    if (looked_ && now >= last_ && minute == lastMinute_) return false;
    looked_ = true;
    last_ = now;
    lastMinute_ = minute;
    return true;
}

}  // namespace pagelark

#include "tsotool/next_day.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "core/page_schedule.h"
#include "model/address_scheme.h"
#include "model/presentation.h"
#include "platform/clock.h"

namespace pagelark {
namespace {

constexpr const char* kUnconverted =
    "the system cannot convert that date, or the day from it, to local time";

struct Moment {
    bool screenOn = true;
    std::vector<std::size_t> due;  // page numbers, from 1
};

// Minutes on the local clock, so that a day ahead is the same time tomorrow whatever the
// daylight-saving change made of it.
long long LocalMinutes(std::time_t at) {
    return std::llround(LocalReading(at) * kMinutesPerDay);
}

std::string Stamp(std::time_t at) {
    tm local{};
    localtime_r(&at, &local);
    // Four digits as --at takes them: the C library writes the year 1 as "1".
    char year[16];
    std::snprintf(year, sizeof year, "%04lld", static_cast<long long>(local.tm_year) + 1900);
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, "%a -%m-%d %H:%M %Z", &local);
    std::string stamp(text, size);
    return stamp.insert(stamp.find(' ') + 1, year);
}

std::string PagesText(const Presentation& presentation, const Moment& moment) {
    if (moment.due.empty()) {
        const std::string& idle = presentation.IdlePage;
        if (idle.empty()) return "no page due: a black page";
        const std::string why = WhyNotLoaded(idle);
        if (!why.empty())
            return "no page due: a black page (the idle page " + idle + " cannot be shown: " + why +
                   ")";
        return "no page due: the idle page " + idle;
    }
    std::string text = moment.due.size() == 1 ? "page due:" : "pages due:";
    for (std::size_t i = 0; i < moment.due.size(); ++i) {
        const std::size_t number = moment.due[i];
        text += (i == 0 ? " " : ", ") + std::to_string(number) + " " +
                presentation.Pages[number - 1].URL;
    }
    return text;
}

}  // namespace

Result<std::time_t> ParseLocalMoment(std::string_view text) {
    constexpr std::string_view kForm = "0000-00-00 00:00";
    const Failure typo = Fail(
        "no local date and time: write \"YYYY-MM-DD HH:MM\", a time the clock "
        "shows here");
    if (text.size() != kForm.size()) return typo;
    for (std::size_t i = 0; i < kForm.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kForm[i] == '0' ? !digit : text[i] != kForm[i]) return typo;
    }
    const auto number = [text](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    tm asked{};
    asked.tm_year = number(0, 4) - 1900;
    asked.tm_mon = number(5, 2) - 1;
    asked.tm_mday = number(8, 2);
    asked.tm_hour = number(11, 2);
    asked.tm_min = number(14, 2);
    // mktime moves a date or time that does not exist on to one that does: only a time that
    // reads back as asked, in summer or winter time, is one.
    std::optional<std::time_t> first;
    bool unconverted = false;
    for (const int summer : {1, 0}) {
        tm fields = asked;
        fields.tm_isdst = summer;
        const std::time_t at = std::mktime(&fields);
        tm back{};
        if (at == static_cast<std::time_t>(-1) || localtime_r(&at, &back) == nullptr) {
            unconverted = true;
            continue;
        }
        if (back.tm_year == asked.tm_year && back.tm_mon == asked.tm_mon &&
            back.tm_mday == asked.tm_mday && back.tm_hour == asked.tm_hour &&
            back.tm_min == asked.tm_min && back.tm_isdst == summer && (!first || at < *first))
            first = at;
    }
    if (first) return *first;
    return unconverted ? Fail(kUnconverted) : typo;
}

Result<std::string> NextDayText(const Presentation& presentation, const PageSchedule& screen,
                                std::time_t start) {
    std::vector<PageSchedule> schedules;
    for (const PresentationPage& page : presentation.Pages)
        schedules.push_back(ScheduleOf(page).schedule);
    const auto at = [&](std::time_t when) {
        const double reading = LocalReading(when);
        Moment moment;
        moment.screenOn = IsDue(screen, reading);
        for (std::size_t i = 0; i < schedules.size(); ++i) {
            if (IsDue(schedules[i], reading)) moment.due.push_back(i + 1);
        }
        return moment;
    };
    start -= start % 60;
    // A day on the local clock is 23 to 25 hours; the limit only guards a clock gone strange.
    constexpr std::time_t kLimit = std::time_t{26} * 60 * 60;
    // The system's range has no gaps: its ends tell whether every time between converts.
    for (const std::time_t end : {start, start + kLimit + 60}) {
        tm local{};
        if (localtime_r(&end, &local) == nullptr) return Fail(kUnconverted);
    }
    const long long end = LocalMinutes(start) + kMinutesPerDay;
    std::time_t last = start;
    for (std::time_t t = start; t - start <= kLimit && LocalMinutes(t) < end; t += 60)
        last = t;
    std::string text = "From " + Stamp(start) + " to " + Stamp(last + 60) + ":\n";
    Moment before;
    for (std::time_t t = start; t <= last; t += 60) {
        const Moment now = at(t);
        if (t == start || now.screenOn != before.screenOn)
            text += Stamp(t) + "  " + (now.screenOn ? "screen on" : "screen dark") + "\n";
        if (t == start || now.due != before.due)
            text += Stamp(t) + "  " + PagesText(presentation, now) + "\n";
        before = now;
    }
    return text;
}

}  // namespace pagelark

#include "model/page_schedule.h"

#include "model/presentation.h"
#include "platform/text.h"

namespace pagelark {
namespace {

constexpr std::string_view kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

std::optional<int> DayOf(std::string_view text) {
    text = TrimBlanksAndTabs(text);
    for (int day = 0; day < 7; ++day) {
        if (EqualsNoCase(text, kDayNames[day]) || EqualsNoCase(text, kDayNames[day].substr(0, 3)))
            return day;
    }
    return std::nullopt;
}

bool IsDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

int Number(std::string_view digits) {
    int number = 0;
    for (const char c : digits)
        number = number * 10 + (c - '0');
    return number;
}

}  // namespace

std::optional<DaySet> ParseDays(std::string_view text) {
    text = TrimBlanksAndTabs(text);
    if (text.empty()) return kEveryDay;
    DaySet days = 0;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const auto dash = item.find('-');
        const auto first = DayOf(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : DayOf(item.substr(dash + 1));
        if (!first || !last) return std::nullopt;
        for (int day = *first;; day = (day + 1) % 7) {
            days |= static_cast<DaySet>(1U << day);
            if (day == *last) break;
        }
        if (comma == std::string_view::npos) return days;
        text = text.substr(comma + 1);
    }
}

std::optional<int> ParseHourMinute(std::string_view text) {
    text = TrimBlanksAndTabs(text);
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view hour = text.substr(0, colon);
    const std::string_view minute = text.substr(colon + 1);
    if (!IsDigits(hour) || hour.size() > 2 || !IsDigits(minute) || minute.size() != 2)
        return std::nullopt;
    const int minutes = Number(hour) * 60 + Number(minute);
    if (Number(minute) > 59 || minutes > kMinutesPerDay) return std::nullopt;
    return minutes % kMinutesPerDay;
}

ScheduleRead ReadSchedule(std::string_view days, std::string_view from, std::string_view to) {
    ScheduleRead read;
    if (const auto set = ParseDays(days)) {
        read.schedule.days = *set;
    } else {
        read.problem = "Days cannot be \"" + std::string(days) + "\", the page plays every day";
    }
    const auto fromTime = from.empty() ? std::optional<int>(0) : ParseHourMinute(from);
    const auto toTime = to.empty() ? std::optional<int>(0) : ParseHourMinute(to);
    if (fromTime && toTime) {
        read.schedule.from = *fromTime;
        read.schedule.to = *toTime;
    } else {
        if (!read.problem.empty()) read.problem += "; ";
        read.problem += std::string(fromTime ? "To" : "From") + " cannot be \"" +
                        std::string(fromTime ? to : from) + "\", the page plays all day";
    }
    return read;
}

ScheduleRead ScheduleOf(const PresentationPage& page) {
    return ReadSchedule(page.Days, page.From, page.To);
}

}  // namespace pagelark

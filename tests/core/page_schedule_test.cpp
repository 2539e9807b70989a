// When a page is due: its keys read, its window across days and midnight, and the look at the
// schedules through daylight-saving changes (a clock set by hand: player_schedule_test).

#include "core/page_schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <optional>

#include "platform/clock.h"
#include "support/scoped_variable.h"

namespace pagelark {
namespace {

constexpr DaySet kMon = 1 << 1, kTue = 1 << 2, kWed = 1 << 3, kFri = 1 << 5;
constexpr DaySet kSun = 1 << 0, kSat = 1 << 6;

TEST(PageScheduleTest, KeysAreReadAndABadOneGivesTheDefaultWithAProblem) {
    const std::pair<const char*, DaySet> days[] = {
        {"", kEveryDay},
        {"Mon-Fri", kMon | kTue | kWed | 1 << 4 | kFri},
        {"Mon-Wed,Fri", kMon | kTue | kWed | kFri},
        {"Wed-Wed", kWed},
        {" monday - TUE , sunday ", kMon | kTue | kSun},
        {"Fri-Mon", kFri | kSat | kSun | kMon},
    };
    for (const auto& [text, set] : days)
        EXPECT_EQ(ParseDays(text), set) << text;
    for (const char* bad : {"Mon,", "Mo-Fr", "Mon-", "Mon-Fri-Sat", "weekdays"})
        EXPECT_EQ(ParseDays(bad), std::nullopt) << bad;
    const std::pair<const char*, int> times[] = {
        {"07:30", 450}, {"7:05", 425}, {" 23:59 ", 1439}, {"24:00", 0}, {"00:00", 0}};
    for (const auto& [text, minutes] : times)
        EXPECT_EQ(ParseHourMinute(text), minutes) << text;
    for (const char* bad : {"", "7", "7:5", "24:01", "12:60", "-1:00", "007:00", "7:00pm"})
        EXPECT_EQ(ParseHourMinute(bad), std::nullopt) << bad;

    // A bad key plays the page rather than hiding it, and says so.
    const struct {
        const char *days, *from, *to;
        PageSchedule schedule;
        bool problem;
    } reads[] = {
        {"", "", "", {}, false},
        {"Sat,Sun", "11:00", "", {kSat | kSun, 660, 0}, false},
        {"", "", "08:00", {kEveryDay, 0, 480}, false},
        {"Sat,Sunday,Mo", "06:00", "10:00", {kEveryDay, 360, 600}, true},
        {"Mon", "6:00am", "10:00", {kMon, 0, 0}, true},
        {"Mon", "06:00", "25:00", {kMon, 0, 0}, true},
    };
    for (const auto& c : reads) {
        const ScheduleRead read = ReadSchedule(c.days, c.from, c.to);
        EXPECT_EQ(read.schedule, c.schedule) << c.days << " " << c.from << " " << c.to;
        EXPECT_EQ(read.problem.empty(), !c.problem) << read.problem;
    }
}

TEST(PageScheduleTest, APageIsDueWithinItsWindowOnItsDaysAcrossMidnightAndTheWeek) {
    // 2026-12-07 is a Monday.
    const PageSchedule breakfast{kEveryDay, 7 * 60, 10 * 60 + 30};
    const PageSchedule weekNights{kMon | kTue | kWed | 1 << 4 | kFri, 22 * 60, 2 * 60};
    const PageSchedule sunday{kSun, 0, 0};
    const struct {
        const PageSchedule* schedule;
        int day, hour, minute;
        bool due;
    } cases[] = {
        {&breakfast, 7, 6, 59, false},   {&breakfast, 7, 7, 0, true},
        {&breakfast, 7, 10, 29, true},   {&breakfast, 7, 10, 30, false},  // To is exclusive
        {&weekNights, 7, 21, 59, false}, {&weekNights, 7, 22, 0, true},
        {&weekNights, 8, 1, 59, true},   {&weekNights, 8, 2, 0, false},
        {&weekNights, 7, 1, 0, false},  // Sunday's night is not a week night
        {&weekNights, 12, 1, 0, true},  // Friday's night runs into Saturday
        {&weekNights, 12, 23, 0, false}, {&weekNights, 13, 1, 0, false},
        {&sunday, 12, 23, 59, false},    {&sunday, 13, 0, 0, true},
        {&sunday, 13, 23, 59, true},     {&sunday, 14, 0, 0, false},  // the week wraps
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDue(*c.schedule, DateTimeValue(2026, 12, c.day, c.hour, c.minute)), c.due)
            << c.day << " " << c.hour << ":" << c.minute;
    }
    // A reading a hair before a whole minute is that minute.
    EXPECT_TRUE(IsDue(breakfast, DateTimeValue(2026, 12, 7, 7, 0) - 1e-10));
    // Before 1899-12-30 the days still count back from its Saturday.
    EXPECT_TRUE(IsDue(sunday, DateTimeValue(1899, 12, 24, 12, 0)));
}

// The kiosk's clock: the local reading of an instant, moved minute by minute.
struct ZoneClock final : Clock {
    explicit ZoneClock(std::time_t at) : instant(at) {}
    double Now() const override { return LocalReading(instant); }
    std::time_t instant;
};

[[maybe_unused]] std::time_t Utc(int day, int month, int hour) {
    return std::llround((DateTimeValue(2026, month, day, hour) - kDaysTo1970) * kSecondsPerDay);
}

TEST(PageScheduleTest, DaylightSavingChangesNeverStallTheLook) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: the C library reads no zone names from TZ; the system's zone decides";
#else
    const testing::ScopedVariable berlin("TZ", "Europe/Berlin");
    const PageSchedule twoToThree{kEveryDay, 2 * 60, 3 * 60};
    const PageSchedule halfPastTwoToFour{kEveryDay, 2 * 60 + 30, 4 * 60};
    // Four hours of the night, minute by minute: the watch looks every minute, the clock going
    // back an hour in autumn included, and each page is due as long as its hours last.
    const struct {
        int day, month;
        int twoToThreeMinutes, halfPastTwoToFourMinutes;
    } nights[] = {
        {29, 3, 0, 60},      // 02:00 to 03:00 does not happen
        {25, 10, 120, 120},  // 02:00 to 03:00 happens twice
    };
    for (const auto& night : nights) {
        ZoneClock clock(Utc(night.day, night.month, 0) - 3600);
        DueWatch watch;
        int looks = 0;
        int dueTwo = 0;
        int dueHalf = 0;
        for (int minute = 0; minute < 5 * 60; ++minute, clock.instant += 60) {
            looks += watch.LookAgain(clock.Now()) ? 1 : 0;
            dueTwo += IsDueNow(twoToThree, clock) ? 1 : 0;
            dueHalf += IsDueNow(halfPastTwoToFour, clock) ? 1 : 0;
        }
        EXPECT_EQ(looks, 5 * 60) << night.month;
        EXPECT_EQ(dueTwo, night.twoToThreeMinutes) << night.month;
        EXPECT_EQ(dueHalf, night.halfPastTwoToFourMinutes) << night.month;
    }
#endif
}

}  // namespace
}  // namespace pagelark

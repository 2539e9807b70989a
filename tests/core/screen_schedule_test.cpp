// The screen's hours: on and dark by the clock, a remote switch until the hours change, a
// visitor waking it, the power sent again, and the show stopping and starting again with it.

#include "core/screen_schedule.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "player_fixture.h"
#include "settings/settings.h"
#include "support/scoped_variable.h"

namespace pagelark {
namespace {

ScreenHours Hours(const char* days, const char* on, const char* off) {
    MachineSettings m;
    m.ScreenDays = days;
    m.ScreenOn = on;
    m.ScreenOff = off;
    return ReadScreenHours(m);
}

constexpr std::chrono::seconds kWake{300};

TEST(ScreenScheduleTest, HoursASwitchAndAWakeDecideAndThePowerIsSentAgain) {
    // 2026-12-07 is a Monday. A shop closed on Sunday; a bar open past midnight.
    const ScreenHours shop = Hours("Mon-Sat", "08:00", "20:00");
    const ScreenHours bar = Hours("", "18:00", "02:00");
    EXPECT_TRUE(Hours("", "", "").always);
    EXPECT_FALSE(Hours("Mon-Sat", "", "").always);
    EXPECT_FALSE(Hours("Mon-Sat", "8 o'clock", "").problem.empty());
    const struct {
        const ScreenHours* hours;
        int day, hour, minute;
        bool on;
    } cases[] = {
        {&shop, 7, 7, 59, false},  {&shop, 7, 8, 0, true},    {&shop, 12, 19, 59, true},
        {&shop, 12, 20, 0, false}, {&shop, 13, 12, 0, false},  // Sunday
        {&bar, 7, 17, 59, false},  {&bar, 7, 23, 0, true},    {&bar, 8, 1, 59, true},
        {&bar, 8, 2, 0, false},
    };
    for (const auto& c : cases) {
        ScreenSchedule screen;
        screen.SetHours(*c.hours);
        EXPECT_EQ(screen.At(DateTimeValue(2026, 12, c.day, c.hour, c.minute), kWake).on, c.on)
            << c.day << " " << c.hour << ":" << c.minute;
    }

    // One walk through a Monday and Tuesday of the shop: minutes from Monday 00:00, and what
    // happens there (switch off or on, a visitor's input); then on, and whether it was sent.
    const struct {
        int minute;
        const char* what;
        bool on, apply;
    } walk[] = {
        {0, "", false, true},
        {1, "", false, false},
        {4, "", false, true},  // sent again after a few minutes
        {5, "input", true, true},
        {7, "", true, false},
        {10, "", false, true},  // the wake ran out
        {12 * 60, "off", false, true},
        {19 * 60 + 59, "", false, true},  // the switch holds through the day
        {20 * 60, "on", true, true},      // and ended at the close: switched on again
        {24 * 60 + 7 * 60, "", true, true},
        {24 * 60 + 8 * 60, "", true, true},  // the hours agree: the switch is over
        {24 * 60 + 20 * 60, "", false, true},
        {24 * 60 + 19 * 60, "", true, true},  // the clock set back an hour
    };
    ScreenSchedule screen;
    screen.SetHours(shop);
    for (const auto& step : walk) {
        const double now = DateTimeValue(2026, 12, 7) + step.minute / 1440.0;
        const std::string what = step.what;
        if (what == "input") screen.Input(now);
        if (what == "on" || what == "off") screen.Switch(what == "on", now);
        const ScreenSchedule::Step got = screen.At(now, kWake);
        EXPECT_EQ(got.on, step.on) << step.minute;
        EXPECT_EQ(got.apply, step.apply) << step.minute;
    }

    // Without hours the display is left alone, until a remote switch.
    ScreenSchedule plain;
    EXPECT_FALSE(plain.At(1.0, kWake).apply);
    plain.Switch(false, 1.0);
    EXPECT_FALSE(plain.At(1.0, kWake).on);
}

TEST(ScreenScheduleTest, DaylightSavingNightsAreAsLongAsTheClockSays) {
    const testing::ScopedVariable berlin("TZ", "Europe/Berlin");
    // Dark from 01:00 to 07:00 local: five hours in spring, seven in autumn, once a night.
    const struct { int day, month, darkMinutes; } nights[] = {{28, 3, 5 * 60}, {24, 10, 7 * 60}};
    for (const auto& night : nights) {
        std::tm evening{};
        evening.tm_year = 2026 - 1900;
        evening.tm_mon = night.month - 1;
        evening.tm_mday = night.day;
        evening.tm_hour = 20;
        evening.tm_isdst = -1;
        const std::time_t from = std::mktime(&evening);
        ScreenSchedule screen;
        screen.SetHours(Hours("", "07:00", "01:00"));
        int dark = 0;
        int changes = 0;
        bool was = true;
        for (std::time_t at = from; at < from + 16 * 3600; at += 60) {
            const bool on = screen.At(LocalReading(at), kWake).on;
            dark += on ? 0 : 1;
            changes += on != was ? 1 : 0;
            was = on;
        }
        EXPECT_EQ(dark, night.darkMinutes) << night.month;
        EXPECT_EQ(changes, 2) << night.month;
    }
}

using testing::PlayerTest;

// Dark: black on show, the other browsers let go, the display off; lit at the on time or by a
// visitor, the show starts again from its first due page.
TEST_F(PlayerTest, DarkScreenStopsTheShowAndItStartsAgainFromItsFirstDuePage) {
    // Sunday 2026-03-01 12:00; page 1 is due from 12:10 on, so it is passed over at first.
    machine.ScreenOn = "12:10";
    machine.ScreenOff = "12:01";
    machine.ScreenCec = false;
    SetPages({20, 20, 20});
    show.Pages[0].From = "12:10";
    Begin();
    // Dark at 12:01; woken (the pointer moved in the dark: no visitor), page 2 first (page 1 not
    // due yet), and dark again once the visitor has been gone the screen saver's delay; at 12:10
    // page 1; the power sent again after a few minutes; a remote switch off and on.
    EXPECT_EQ(Walk("done 30 0 60 move touch 1 done 1 touch 100 200 300 240 done 1 "
                   "screenoff 1 screenon 1 done 1",
                   {"Power", "Renew", "woke"}),
              "NAVIGATE h/2, WAITTIME 2/3, WAITTIME black/ Renew 0 Renew 1 Power off, "
              "NAVIGATE black/2 Power on woke, WAITTIME 2/3, WAITTIME 2/3, "
              "WAITTIME black/ Renew 1 Renew 2 Power off, NAVIGATE black/1 Power on, "
              "NAVIGATE black/1 Power on, WAITTIME 1/2, "
              "WAITTIME black/ Renew 0 Renew 2 Power off, NAVIGATE black/1 Power on, WAITTIME 1/2");
}

}  // namespace
}  // namespace pagelark

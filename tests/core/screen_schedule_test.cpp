// The screen's hours: on and dark by the clock, a remote switch until the hours change, a
// visitor waking it, the power sent again, and the show stopping and starting again with it.
// Local time across daylight-saving changes is the page schedule's test: the same IsDue.

#include "core/screen_schedule.h"

#include <gtest/gtest.h>

#include <string>

#include "player_fixture.h"
#include "settings/settings.h"

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
    // 2026-12-07 is a Monday. A shop closed on Sunday; the window itself is IsDue's.
    const ScreenHours shop = Hours("Mon-Sat", "08:00", "20:00");
    EXPECT_TRUE(Hours("", "", "").always);
    EXPECT_FALSE(Hours("Mon-Sat", "", "").always);
    ScreenSchedule sunday;
    sunday.SetHours(shop);
    EXPECT_FALSE(sunday.At(DateTimeValue(2026, 12, 13, 12, 0), kWake).on);

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
        {12 * 60 - 2, "input", true, true},
        {12 * 60, "off", false, true},    // a remote switch outranks a visitor's wake
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
    // page 1; the power sent again after a few minutes.
    EXPECT_EQ(Walk("done 30 0 60 move touch 1 done 1 touch 100 200 300 240 done 1",
                   {"Power", "Renew", "woke"}),
              "NAVIGATE h/2, WAITTIME 2/3, WAITTIME black/ Renew 0 Renew 1 Power off, "
              "NAVIGATE black/2 Power on woke, WAITTIME 2/3, WAITTIME 2/3, "
              "WAITTIME black/ Renew 1 Renew 2 Power off, NAVIGATE black/1 Power on, "
              "NAVIGATE black/1 Power on, WAITTIME 1/2");
    // A pause outlasts a dark spell: the first due page comes back, paused.
    EXPECT_EQ(Walk("pause 1 screenoff 1 screenon 1 done 1 30"),
              "WAITSAVER 1/2, WAITSAVER black/, NAVIGATE black/1, WAITSAVER 1/2, WAITSAVER 1/2");
    EXPECT_STREQ(RemoteStateWord(P(), true), "paused");
    // New hours (the window's OK, a managed file) hold from the next tick.
    machine.ScreenOn = "13:00";
    machine.ScreenOff = "12:00";
    P().TakeShow(Show{show, machine, buttons, d}, ShowChange::Now);
    EXPECT_EQ(Walk("1", {"Power"}), "WAITSAVER black/ Power off");
}

// Dark from the start: black comes to the front, the tool bar goes, and Escape there wakes the
// screen, never ending the show (a Quit button on show would let it). Woken, black stays on show
// until the first page has loaded behind it, never the start page.
TEST_F(PlayerTest, DarkFromTheStartIsBlackOnShowAndEscapeOnlyWakesIt) {
    machine.ScreenOn = "12:10";
    machine.ScreenOff = "11:00";
    machine.ScreenCec = false;
    w.toolRunCount = 1;
    machine.OnMouseMove = MouseMovePolicy::ShowToolRun;
    SetPages({20, 20});
    P().InitBrowsers();
    EXPECT_STREQ(RemoteStateWord(P(), false), "dark");  // before the first tick too
    // Black and nothing else: no tool bar either.
    EXPECT_EQ(Walk("0", {"Front", "Power", "ToolRun"}), "INIT black/ ToolRun 0 Front 0 Power off");
    EXPECT_STREQ(RemoteStateWord(P(), true), "dark");
    // Nothing of a remote caller's reaches the dark screen.
    EXPECT_EQ(Remote(Command::ShowAddress, Url(2)), "the screen is dark");
    for (const Command command :
         {Command::Next, Command::Previous, Command::Pause, Command::Play, Command::Reload})
        EXPECT_EQ(Remote(command), "the screen is dark");
    EXPECT_EQ(Walk("esc 1 1 done 1", {"Front", "Power", "ToolRun"}),
              "NAVIGATE black/1 ToolRun 1 Power on, NAVIGATE black/1, WAITTIME 1/2 Front 1");
    EXPECT_STREQ(RemoteStateWord(P(), true), "playing");
    // Nor does a switch while the window is open and keeps it lit.
    EXPECT_EQ(Walk("config 1"), "WAITCONFIG 1/2");
    EXPECT_EQ(Remote(Command::ScreenOff), "the configuration window is open");
}

// The operator reaches a kiosk dark from its start: a locked kiosk's `pagelark CONFIG` opens
// the window over black while the first page loads, and a run for the window alone is never
// dark. A visitor who woke the screen and browses keeps it lit while moving the pointer.
TEST_F(PlayerTest, TheOperatorAndABrowsingVisitorKeepTheScreenLit) {
    machine.ScreenOn = "12:10";
    machine.ScreenOff = "11:00";
    machine.ScreenCec = false;
    machine.ScreenSaveTimeOut = std::chrono::seconds{60};
    machine.OnMouseMove = MouseMovePolicy::EnterNavigation;
    SetPages({20, 20});
    P().InitBrowsers();
    EXPECT_EQ(Walk("0", {"Power"}), "INIT black/ Power off");
    EXPECT_TRUE(P().OpenConfig());
    EXPECT_EQ(Walk("1 cancel done 1"), "WAITCONFIG black/1, WAITTIME 1/2");
    // Woken by a touch and browsing: dark only once the pointer has rested the delay.
    EXPECT_EQ(Walk("80 touch 1 done 1 move 3 move 40 move 40 70", {"Power"}),
              "WAITTIME black/ Power off, NAVIGATE black/1 Power on, WAITTIME 1/2, WAITSAVER nav "
              "1/2, WAITSAVER nav 1/2, WAITSAVER nav 1/2, WAITSAVER black/ Power off");
    player.reset();
    configCommandLine = true;
    P().InitBrowsers();
    EXPECT_EQ(Walk("0 1 done 1 1", {"Power"}),
              "NAVIGATE h/h, CONFIG h/1, WAITCONFIG h/1, WAITCONFIG h/1");
}

}  // namespace
}  // namespace pagelark

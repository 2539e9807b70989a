#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(PlayerTest, ConfigWindowOpensOnTheNextStepAndReturnsToPlay) {
    w.toolRunCount = 1;
    machine.OnMouseMove =
        MouseMovePolicy::ShowToolRun;  // Tool Run shown: the cursor comes back with it
    Start();
    w.calls.clear();
    P().CmdConfig();
    const double before = P().LastActivityTime();
    w.pointer = {5, 5};  // not watched while the window opens or is open
    EXPECT_EQ(Run({1, 1}), "WAITCONFIG,WAITCONFIG");
    EXPECT_EQ(w.Take(), "OpenConfig,ToolbarsTopmost");
    EXPECT_EQ(P().LastActivityTime(), before);

    P().ConfigClosed(true);  // OK takes the pointer where it is as the new reference
    EXPECT_EQ(P().State(), S::Navigate);
    EXPECT_EQ(P().SaverModeStartTime(), w.now);
    EXPECT_GT(w.cursorCounter, 5);
}

TEST_F(PlayerTest, DueRebootWaitsForPauseTheConfigWindowAndNavigationModeAndPassesItsFlags) {
    machine.AutoReboot = true;
    machine.AutoLogin = true;
    machine.ForceReboot = true;
    machine.ScreenSaveActive = false;
    machine.RebootMoment = w.now + 60 / kSecondsPerDay;
    Start();
    EXPECT_EQ(Run({30}), "WAITTIME");  // not due yet
    P().CmdPause();
    EXPECT_EQ(Run({120}), "WAITSAVER");
    P().CmdConfig();
    EXPECT_EQ(Run({5, 5}), "WAITCONFIG,WAITCONFIG");
    P().ConfigClosed(false);
    P().SwitchToNavigation();
    EXPECT_EQ(Run({5, 5}), "WAITSAVER nav,WAITSAVER nav");
    EXPECT_EQ(w.Count("Reboot 11"), 0);
    P().CmdPlay();
    P().DocumentComplete(P().NextBrowser());      // the next page again, in a fresh profile
    EXPECT_EQ(Run({0, 0}), "NAVIGATE,WAITTIME");  // NAVIGATE: no reboot check there
    w.calls.clear();
    EXPECT_EQ(Run({0}), "FINPROG");
    EXPECT_EQ(w.Take(), "Reboot 11,Stop 0,Stop 1,Stop 2");
    EXPECT_EQ(Run({0}), "FINPROG");
    EXPECT_EQ(w.Count("Reboot 11"), 0);  // once, whatever follows
}

TEST_F(PlayerTest, RefusedRebootLetsTheShowGoOnUntilTheSameTimeTomorrow) {
    const double due = w.now + 1 / kSecondsPerDay;
    machine.AutoReboot = true;
    machine.RebootMoment = due;
    w.rebootAccepted = false;
    Start({5, 5});
    w.calls.clear();
    EXPECT_EQ(Run({2, 0, 0}), "WAITTIME,WAITTIME,WAITTIME");
    EXPECT_EQ(w.Take(), "Reboot 0");  // asked once; no browser stopped
    EXPECT_EQ(machine.RebootMoment, due + 1);
    NextPageAfter(1);
    EXPECT_EQ(Shown(), Url(1));
}

TEST_F(PlayerTest, StepIsNotReenteredFromInsideAPortCall) {
    Start({10, 10}, 0);
    w.onNavigate = [this] { P().Tick(); };
    Tick(0, 2);  // NAVIGATE sends page 1; the nested tick must not run a step of its own
    EXPECT_EQ(P().State(), S::WaitTime);
    EXPECT_EQ(P().CurrentBrowser(), 1);
    NextPageAfter(3);
    EXPECT_EQ(P().CurrentBrowser(), 2);  // the guard was released
}

TEST_F(PlayerTest, KeysNeedTheirButtonAndExactModifiers) {
    using enum KeyCode;
    // Quit and Help (to navigation mode) need their button; every key is activity.
    const struct {
        KeyCode key;
        int shift;
        bool withButtons;
        S after;
    } cases[] = {
        {Escape, 0, true, S::FinProg}, {F4, kAltMask, true, S::FinProg},
        {F1, 0, true, S::WaitSaver},   {Escape, 0, false, S::WaitTime},
        {F1, 0, false, S::WaitTime},   {Escape, kShiftMask, true, S::WaitTime},
        {F4, 0, true, S::WaitTime},    {F1, kShiftMask, true, S::WaitTime},
    };
    for (const auto& c : cases) {
        buttons.ToolNavButtons[6].Visible = buttons.ToolRunButtons[7].Visible = c.withButtons;
        player.reset();
        Start();
        w.Advance(1);
        P().HandleKey(c.key, c.shift);
        EXPECT_EQ(P().State(), c.after) << static_cast<int>(c.key) << "/" << c.shift;
        EXPECT_EQ(P().LastActivityTime(), w.now);
    }

    // The diagnostic key needs Debug on as well as a program, whatever the modifiers.
    w.calls.clear();
    fake.Put(RegRoot::CurrentUser, kUserKey, "IEPath", "/usr/bin/xterm");
    P().HandleKey(F10, 0);
    fake.Put(RegRoot::CurrentUser, kUserKey, "Debug", "Yes");
    P().HandleKey(F10, kCtrlMask);
    EXPECT_EQ(w.Take(), "Start /usr/bin/xterm");
}

}  // namespace
}  // namespace pagelark::testing

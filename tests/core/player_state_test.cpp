// The state machine: start-up, the configuration window, the end, the reboot, the keys.

#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using S = PlayerState;

TEST_F(PlayerTest, StartUpPrimesAllBrowsersAndLaysOutOnlyFromTheFirstInit) {
    Pages({10});
    w.connected = false;
    P().InitBrowsers();
    for (int b = 0; b < kBrowserCount; ++b) {
        EXPECT_EQ(w.Count("Navigate " + w.N(b) + " " + help[0]), 1);
        EXPECT_TRUE(w.offline[b]);
        EXPECT_TRUE(w.silent[b]);
    }
    P().WindowResized();
    EXPECT_EQ(w.Count("Layout"), 0);

    Tick();
    EXPECT_EQ(State(), S::Navigate);
    EXPECT_TRUE(P().BrowsersReady());
    EXPECT_EQ(w.Count("Frame 0"), 1);
    EXPECT_EQ(w.Count("WindowState 2"), 1);
    EXPECT_EQ(w.Count("Layout"), 1);
    EXPECT_TRUE(P().Browser(1).loaded);  // already holds the start page: no second load
    EXPECT_EQ(w.Count("Navigate 1 " + help[0]), 1);
    P().WindowResized();
    EXPECT_EQ(w.Count("Layout"), 2);

    Tick();
    EXPECT_EQ(State(), S::WaitTime);
    EXPECT_EQ(P().CurrentBrowser(), 1);
    EXPECT_EQ(w.Count("Navigate 2 " + Url(1)), 1);
}

TEST_F(PlayerTest, ConfigWindowOpensOnTheNextStepAndReturnsToPlay) {
    Pages({10});
    buttons.ToolRunButtons[0].Visible = true;
    machine.OnMouseMove = 0;  // Tool Run shown: the cursor comes back with it
    Start();
    P().CmdConfig();
    EXPECT_EQ(State(), S::Config);
    // The mouse is not watched while the window opens or is open.
    const double before = P().LastActivityTime();
    w.pointer = {5, 5};
    Tick(1);
    EXPECT_EQ(State(), S::WaitConfig);
    EXPECT_EQ(w.Count("OpenConfig"), 1);
    EXPECT_EQ(w.Count("ToolbarsTopmost"), 1);
    Tick(1);
    EXPECT_EQ(P().LastActivityTime(), before);

    P().ConfigClosed(true);  // OK takes the pointer where it is as the new reference
    EXPECT_EQ(State(), S::Navigate);
    EXPECT_EQ(P().SaverModeStartTime(), w.now);
    EXPECT_GT(w.cursorCounter, 5);
    Tick(1);
    EXPECT_EQ(P().LastActivityTime(), w.now);  // the NAVIGATE step, not the mouse
    Tick(1);
    EXPECT_LT(P().LastActivityTime(), w.now);

    P().CmdConfig();
    Tick();
    w.pointer = {6, 6};
    P().ConfigClosed(false);  // Cancel keeps the old reference: the pointer counts as moved
    Tick();
    Tick(1);
    EXPECT_EQ(P().LastActivityTime(), w.now);
}

TEST_F(PlayerTest, ConfigCommandLineOpensTheWindowAndEndsWithIt) {
    Pages({10});
    configCommandLine = true;
    P().CmdConfig();  // nothing in INIT
    EXPECT_EQ(State(), S::Init);
    Start();
    EXPECT_EQ(State(), S::Config);
    w.pointer = {1, 1};
    Tick(5);
    EXPECT_EQ(State(), S::WaitConfig);
    EXPECT_LT(P().LastActivityTime(), w.now);
    P().ConfigClosed(true);
    EXPECT_EQ(State(), S::FinProg);
    Tick();
    EXPECT_EQ(w.Count("UnloadAll"), 1);
}

TEST_F(PlayerTest, FinProgIsFinal) {
    Pages({10});
    Start();
    P().CmdQuit();
    P().CmdPlay();
    P().CmdConfig();
    P().ConfigClosed(true);
    P().SwitchToNavigation();
    P().SetState(S::Init);
    EXPECT_EQ(State(), S::FinProg);
    Tick();
    EXPECT_EQ(w.Count("UnloadAll"), 1);
}

TEST_F(PlayerTest, SnapshotRunEndsThePlayAfterTheAdvance) {
    Pages({10, 10});
    w.snapshotRunDone = true;
    Start();
    P().DocumentComplete(P().NextBrowser());
    Tick(3);
    EXPECT_EQ(State(), S::FinProg);
}

TEST_F(PlayerTest, DueRebootWaitsUntilPlayResumes) {
    Pages({10});
    machine.AutoReboot = true;
    machine.AutoLogin = true;
    machine.ScreenSaveActive = false;
    machine.RebootMoment = w.now + 60 / kSecondsPerDay;
    Start();
    P().CmdPause();
    Tick(120);
    EXPECT_EQ(w.Count("Reboot 10"), 0);

    P().CmdPlay();
    Tick();  // NAVIGATE: no reboot check there
    EXPECT_EQ(State(), S::WaitTime);
    Tick();
    EXPECT_EQ(State(), S::FinProg);
    EXPECT_EQ(w.Count("Reboot 10"), 1);
    for (int b = 0; b < kBrowserCount; ++b)
        EXPECT_EQ(w.Count("Stop " + w.N(b)), 1);
}

TEST_F(PlayerTest, StepIsNotReenteredFromInsideAPortCall) {
    Pages({10, 10});
    P().InitBrowsers();
    w.onNavigate = [this] { P().Tick(); };
    Tick();
    Tick();  // NAVIGATE sends page 1; the nested tick must not run a step of its own
    EXPECT_EQ(State(), S::WaitTime);
    EXPECT_EQ(P().CurrentBrowser(), 1);
    EXPECT_EQ(w.helpTipChecks, 2);  // but it did its mouse part
    P().DocumentComplete(P().NextBrowser());
    Tick(3);
    Tick();
    EXPECT_EQ(P().CurrentBrowser(), 2);  // the guard was released
}

TEST_F(PlayerTest, KeysNeedTheirButtonAndExactModifiers) {
    Pages({10});
    Start();
    w.Advance(1);
    P().HandleKey(kKeyEscape, 0);
    EXPECT_EQ(State(), S::WaitTime);  // no Quit button
    EXPECT_EQ(P().LastActivityTime(), w.now);

    buttons.ToolNavButtons[6].Visible = true;
    for (int shift : {kShiftMask, kCtrlMask, kAltMask})
        P().HandleKey(kKeyEscape, shift);
    for (int shift : {0, kAltMask | kShiftMask, kCtrlMask})
        P().HandleKey(kKeyF4, shift);
    P().HandleKey(kKeyF1, 0);  // no Help button
    EXPECT_EQ(State(), S::WaitTime);
    EXPECT_FALSE(P().NavigationMode());

    buttons.ToolRunButtons[7].Visible = true;
    P().HandleKey(kKeyF1, kShiftMask);
    EXPECT_FALSE(P().NavigationMode());
    P().HandleKey(kKeyF1, 0);
    EXPECT_TRUE(P().NavigationMode());

    registryBackend.Put(HKEY_CURRENT_USER, kUserKey, "IEPath", "/usr/bin/xterm");
    P().HandleKey(kKeyF10, 0);
    registryBackend.Put(HKEY_CURRENT_USER, kUserKey, "Debug", "Yes");
    P().HandleKey(kKeyF10, kCtrlMask);
    EXPECT_EQ(w.Count("Start /usr/bin/xterm"), 1);

    P().HandleKey(kKeyF4, kAltMask);
    EXPECT_EQ(State(), S::FinProg);
}

}  // namespace
}  // namespace pagelark::testing

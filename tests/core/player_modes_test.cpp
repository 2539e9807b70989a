// The two modes: mouse policy, idle return, cursor, tool bars, help, and the address check.

#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using S = PlayerState;

// Screen saver mode entered now, by Play from navigation mode.
void EnterSaverModeByPlay(Player& p) {
    p.SwitchToNavigation();
    p.CmdPlay();
}

TEST_F(PlayerTest, NavigationPolicyWaitsTwoSecondsAfterScreenSaverModeBegan) {
    Pages({10});
    buttons.ToolNavButtons[0].Visible = true;
    Start();
    EnterSaverModeByPlay(P());
    w.calls.clear();
    w.pointer = {101, 100};
    Tick(1.9);
    EXPECT_FALSE(P().NavigationMode());
    EXPECT_EQ(P().LastActivityTime(), w.now);
    Tick(0.2);
    EXPECT_TRUE(P().NavigationMode());
    EXPECT_EQ(State(), S::WaitSaver);
    Tick(5);
    EXPECT_EQ(w.Count("ToolNav 1"), 1);  // further moves do nothing more
}

TEST_F(PlayerTest, QuitPolicyWaitsTwoSecondsAfterTheConfigWindowClosed) {
    Pages({10});
    machine.OnMouseMove = 2;
    Start();
    P().CmdConfig();
    Tick();
    P().ConfigClosed(false);
    w.pointer = {0, 0};
    Tick(1.9);
    EXPECT_NE(State(), S::FinProg);
    Tick(0.2);
    EXPECT_EQ(State(), S::FinProg);
}

TEST_F(PlayerTest, NoPolicyOnlyPostponesTheIdleReturn) {
    Pages({10});
    machine.OnMouseMove = 0;
    machine.ScreenSaveTimeOut = 60;
    Start();
    P().CmdPause();
    w.pointer = {0, 0};  // left away from the reference: active on every tick
    for (int i = 0; i < 5; ++i)
        Tick(50);
    EXPECT_EQ(State(), S::WaitSaver);
    EXPECT_FALSE(P().NavigationMode());
    P().RecordMouse();
    Tick(59);
    EXPECT_EQ(State(), S::WaitSaver);
    Tick(2);
    EXPECT_EQ(State(), S::Init);
}

TEST_F(PlayerTest, NavigationModeTimesOutOnlyWithScreenSaveActive) {
    Pages({10});
    machine.ScreenSaveTimeOut = 60;
    machine.ScreenSaveActive = false;
    Start();
    P().SwitchToNavigation();
    Tick(100000);
    EXPECT_TRUE(P().NavigationMode());

    machine.ScreenSaveActive = true;
    P().HandleKey(0, 0);
    Tick(59);
    EXPECT_TRUE(P().NavigationMode());
    Tick(2);
    EXPECT_FALSE(P().NavigationMode());
    EXPECT_EQ(State(), S::Init);
    EXPECT_EQ(P().SaverModeStartTime(), w.now);
    EXPECT_EQ(w.calls.back(), "ToolNav 0");
}

TEST_F(PlayerTest, CursorIsDrivenToAFixedDepthAndNeverLoopsForEver) {
    w.cursorCounter = 2;
    P().HideCursor();
    EXPECT_EQ(w.cursorCounter, -6);
    EXPECT_EQ(w.calls.back(), "HideHelpTip");
    P().ShowCursor();
    EXPECT_EQ(w.cursorCounter, 6);
    w.cursorStuck = true;
    P().HideCursor();
    P().ShowCursor();  // returned: the requests are bounded
}

TEST_F(PlayerTest, HelpAndNavigationPrepareTheBrowsersForTheUser) {
    Pages({10});
    show.AutoHome = true;
    show.HomeURL = "http://home/";
    Start();
    w.connected = false;
    P().SwitchToNavigation();
    EXPECT_EQ(w.Count("Navigate 1 http://home/"), 1);
    for (int b = 0; b < kBrowserCount; ++b) {
        EXPECT_TRUE(w.offline[b]);
        EXPECT_FALSE(w.silent[b]);
    }

    P().CmdPlay();
    P().CmdHelp();
    EXPECT_TRUE(P().NavigationMode());
    EXPECT_EQ(Shown(), help[3]);
    EXPECT_EQ(P().Browser(P().CurrentBrowser()).time, 0);
    EXPECT_TRUE(w.silent[P().CurrentBrowser()]);  // sent a page: silent again
    EXPECT_GT(w.cursorCounter, 5);
}

TEST_F(PlayerTest, AddressCheckFillsTheAddressBoxAndCountsActivity) {
    Pages({10});
    show.Include = {"http://site/"};
    Start();
    const int b = P().CurrentBrowser();
    EXPECT_TRUE(P().CheckNavigation(b, "http://other/", true));
    EXPECT_FALSE(P().CheckNavigation(b, "file:///run/user/1000/Pagelark/link.html", true));
    EXPECT_FALSE(P().CheckNavigation(b, "http://site/frame", false));
    w.visible[b] = false;
    EXPECT_FALSE(P().CheckNavigation(b, "http://site/hidden", true));
    EXPECT_EQ(w.Count("Address file:///run/user/1000/Pagelark/link.html"), 1);
    EXPECT_EQ(w.Count("Address http://other/") + w.Count("Address http://site/frame") +
                  w.Count("Address http://site/hidden"),
              0);
    w.Advance(1);
    EXPECT_LT(P().LastActivityTime(), w.now);  // screen saver mode: never activity

    P().SwitchToNavigation();
    w.Advance(1);
    P().CheckNavigation(b, "ABOUT:NAVIGATIONCANCELED", true);
    P().CheckNavigation(b, P().Browser(b).address, true);
    EXPECT_LT(P().LastActivityTime(), w.now);
    P().CheckNavigation(b, "http://other/", true);  // refused, but the visitor is there
    EXPECT_EQ(P().LastActivityTime(), w.now);
}

}  // namespace
}  // namespace pagelark::testing

#include "core/player.h"

#include "player_fixture.h"
#include "settings/registry.h"

namespace pagelark::testing {
namespace {

// A move (a cancelled window keeps the reference from before it) once play began, resumed
// from navigation mode, or the window closed; the preload again after the visitor.
TEST_F(PlayerTest, MousePolicyActsOnlyTwoSecondsAfterScreenSaverModeBegan) {
    w.toolNavCount = 1;
    const std::tuple<int, const char*, const char*> cases[] = {
        // The pointer left resting where the visitor left it is no one there.
        {1, "move done 1.9 0.2 move 5 299 2",
         "WAITTIME h/1, WAITSAVER nav h/1 Navigating 1 ToolNav 1, WAITSAVER nav h/1, "
         "WAITSAVER nav h/1, INIT h/1"},
        {1, "100 nav play move done 1.9 0.2 5",
         "WAITTIME h/1, NAVIGATE h/1 Navigating 1 ToolNav 1, WAITSAVER nav h/1 Navigating 1 "
         "ToolNav 1, WAITSAVER nav h/1"},
        {2, "100 config 0 move cancel done 1.9 0.2 5",
         "WAITTIME h/1, WAITCONFIG h/1, WAITTIME 1/1, FINPROG 1/1, FINPROG 1/1"},
    };
    for (const auto& [policy, steps, trace] : cases) {
        machine.OnMouseMove = static_cast<MouseMovePolicy>(policy);
        Start();
        // Once in navigation mode, moves do nothing more.
        EXPECT_EQ(Walk(steps, {"ToolNav 1", "Navigating 1"}), trace) << steps;
    }
}

// A first start's welcome is there to be read: a minute, or until a visitor's input.
TEST_F(PlayerTest, AFirstStartsWelcomeStaysAMinuteOrUntilAKeyAndSaysHowToReachTheToolBar) {
    welcome = true;
    machine.OnMouseMove = MouseMovePolicy::ShowToolRun;
    Start();
    EXPECT_EQ(Walk("done 30 29 2"), "WAITTIME h/1, WAITTIME h/1, NAVIGATE h/1");
    Start();
    EXPECT_EQ(Walk("done 5 key 0.2"), "WAITTIME h/1, NAVIGATE h/1");

    using enum MouseMovePolicy;
    const struct {
        MouseMovePolicy policy;
        bool locked;
        int buttons;  // visible on each tool bar
        const char *welcome, *config;
    } cases[] = {
        {ShowToolRun, false, 8, "The tool bar is on the screen; press F1 for help.",
         "Press Config on the tool bar to open the configuration window."},
        {EnterNavigation, false, 8, "Move the mouse to show the tool bar; press F1 for help.",
         "Move the mouse and press Config on the tool bar to open the configuration window."},
        {EndShow, false, 8,
         "Moving the mouse ends the show; this kiosk shows no tool bar; "
         "press F1 for help.",
         "End Pagelark and run \"pagelark CONFIG\" to open the configuration window."},
        {EnterNavigation, false, 0, "This kiosk shows no tool bar.",
         "End Pagelark and run \"pagelark CONFIG\" to open the configuration window."},
        {EndShow, true, 8, "This kiosk shows no tool bar.",
         "Run \"pagelark CONFIG\" on this computer to open the configuration window."},
    };
    for (const auto& c : cases) {
        player.reset();
        machine.OnMouseMove = c.policy;
        machine.Locked = c.locked;
        w.toolRunCount = w.toolNavCount = c.buttons;
        for (ToolbarButton& button : buttons.ToolRunButtons)
            button.Visible = c.buttons > 0;
        for (ToolbarButton& button : buttons.ToolNavButtons)
            button.Visible = c.buttons > 0;
        EXPECT_EQ(WelcomeLine(P().Reach()), c.welcome) << static_cast<int>(c.policy);
        EXPECT_EQ(ConfigLine(P().Reach()), c.config) << static_cast<int>(c.policy);
    }
}

// Then a preload that never loads gives way after MaxTime, as any other. Without
// ClearVisitorData nothing is forgotten: the visit to the show's own pages below.
TEST_F(PlayerTest, AfterAVisitorThePageOnShowStaysUntilTheNextLoadsInAFreshProfile) {
    machine.ClearVisitorData = true;
    Start({10, 10});
    EXPECT_EQ(Walk("nav play 0 0 0 done 0", {"ForgetVisitor", "Navigat"}),
              "NAVIGATE h/1 Navigating 1 Navigating 0 ForgetVisitor Navigate 2 http://site/1, "
              "NAVIGATE h/1, NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2");
    EXPECT_EQ(Walk("nav play 0 0 0 299 2"),
              "NAVIGATE 1/2, NAVIGATE 1/2, NAVIGATE 1/2, NAVIGATE 1/2, WAITTIME 2/1");
}

// Without navigation mode a visitor still clicks and types in the show's own pages. The idle
// time after their last input (a pointer left where it stopped is none) ends the visit: the
// next page loads again in a fresh profile before it shows, and the page on show stays.
TEST_F(PlayerTest, AVisitToTheShowsOwnPagesEndsInAFreshProfileAfterTheIdleTime) {
    machine.ScreenSaveTimeOut = std::chrono::seconds{60};
    machine.OnMouseMove = MouseMovePolicy::ShowToolRun;
    for (const bool clear : {true, false}) {
        machine.ClearVisitorData = clear;
        Start({300, 300});
        EXPECT_EQ(Walk("done 3 0 move 30 key 59 2 done 0 move 0 61", {"ForgetVisitor", "Navigate"}),
                  clear ? "NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2, WAITTIME 1/2, "
                          "WAITTIME 1/2, WAITTIME 1/2 ForgetVisitor Navigate 0 http://site/2, "
                          "WAITTIME 1/2, WAITTIME 1/2, WAITTIME 1/2 ForgetVisitor Navigate 0 "
                          "http://site/2"
                        : "NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2, WAITTIME 1/2, "
                          "WAITTIME 1/2, WAITTIME 1/2, WAITTIME 1/2, WAITTIME 1/2, WAITTIME 1/2")
            << clear;
    }
}

// A long page moves on show as its Scroll says, paced by its time ("0" speed) or at its own
// speed; the visitor's input, navigation mode, a pause and a move elsewhere stop it, and the
// page goes back to its top once behind the next. A page held until a command has no time to
// pace by.
TEST_F(PlayerTest, ALongPageMovesOnShowUntilTheVisitorOrAPauseStopsIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"done 3 0 key 0 done 11 0 done 11 0",
         "NAVIGATE h/1, WAITTIME 1/2 Scroll 2 0/10, WAITTIME 1/2 Still 2, NAVIGATE 1/2, "
         "WAITTIME 2/3 Top 2 Scroll 0 120/10, NAVIGATE 2/3, WAITTIME 3/1 Top 0"},
        {"done 3 0 nav ?", "NAVIGATE h/1, WAITTIME 1/2 Scroll 2 0/10, WAITSAVER nav 1/2 Still 2"},
        {"done 3 0 pause ?", "NAVIGATE h/1, WAITTIME 1/2 Scroll 2 0/10, WAITSAVER 1/2 Still 2"},
        {"done 3 0 link ?", "NAVIGATE h/1, WAITTIME 1/2 Scroll 2 0/10, WAITTIME 1/2 Still 2"},
    };
    machine.OnMouseMove = MouseMovePolicy::ShowToolRun;
    w.toolNavCount = 1;
    for (const auto& [steps, trace] : cases) {
        player.reset();
        SetPages({10, 10, 0});
        show.Pages[0].Scroll = "Yes";
        show.Pages[1].Scroll = "120";
        show.Pages[2].Scroll = "Yes";
        Begin();
        EXPECT_EQ(Walk(steps, {"Scroll", "Still", "Top"}), trace) << steps;
    }
}

TEST_F(PlayerTest, CursorIsDrivenToAFixedDepthAndNeverLoopsForEver) {
    w.cursorCounter = 2;
    P().ToolbarsLaidOut();  // no Tool Run: no cursor
    EXPECT_EQ(w.cursorCounter, -6);
    P().ShowCursor();
    EXPECT_EQ(w.cursorCounter, 6);
    w.cursorStuck = true;
    P().ToolbarsLaidOut();
    P().ShowCursor();  // both returned: the requests are bounded
}

TEST_F(PlayerTest, AddressCheckFillsTheAddressBoxAndCountsActivity) {
    show.Include = {"http://site/"};
    Start();
    w.calls.clear();
    const int b = P().CurrentBrowser();
    EXPECT_TRUE(P().CheckNavigation(b, "http://other/", true));
    EXPECT_FALSE(P().CheckNavigation(b, "http://site/frame", false));
    EXPECT_FALSE(P().CheckNavigation(b, "file:///run/user/1000/Pagelark/link.html", true));
    // The preloading browser is visible too, behind the page on show.
    EXPECT_FALSE(P().CheckNavigation(P().NextBrowser(), "http://site/preloaded", true));
    // Only an admitted top-level address of the page on show reaches the box.
    EXPECT_EQ(w.calls,
              std::vector<std::string>{"Address file:///run/user/1000/Pagelark/link.html"});
    P().RunFromScreen(Command::Navigation);
    w.Advance(1);
    P().CheckNavigation(b, "http://other/", true);  // refused, but the visitor is there
    EXPECT_EQ(P().LastActivityTime(), w.now);

    // A refused click or typed address: a notice for a few seconds, the page on show's
    // address back in the box, and nothing sent to a browser.
    w.calls.clear();
    P().VisitorRefused(P().NextBrowser());
    EXPECT_FALSE(P().Run({Command::Browse, CommandSource::Screen, "http://other/x"}));
    P().VisitorRefused(b);
    w.Advance(3.8);
    P().Tick();
    const std::string box = "Address location " + std::to_string(b);
    const std::string notice = "Notice This address is not part of this kiosk";
    EXPECT_EQ(w.calls, (std::vector<std::string>{notice, box, notice, box}));
    w.Advance(0.4);
    P().Tick();
    EXPECT_EQ(w.calls.back(), "Notice ");

    // A page's own move is sent back without a notice; the box shows the page sent back.
    w.calls.clear();
    w.located = nullptr;  // told before it is back
    P().LocationChanged(b, "http://other/moved");
    P().VisitorRefused(b);
    ASSERT_EQ(w.calls.size(), 3U);
    const std::string sent = w.calls[0].substr(w.calls[0].find(' ', 9) + 1);
    EXPECT_EQ(w.calls, (std::vector<std::string>{"Navigate " + std::to_string(b) + " " + sent,
                                                 notice, "Address " + sent}));
}

TEST_F(PlayerTest, ConfigWindowOpensOnTheNextStepAndReturnsToPlay) {
    w.toolRunCount = 1;
    machine.OnMouseMove =
        MouseMovePolicy::ShowToolRun;  // Tool Run shown: the cursor comes back with it
    Start();
    const double before = P().LastActivityTime();
    // The pointer is not watched while the window opens or is open; OK takes it where it is
    // as the new reference.
    EXPECT_EQ(Walk("config move 1 1 ok ?", {""}),
              "WAITCONFIG h/1 OpenConfig ToolbarsTopmost, WAITCONFIG h/1, NAVIGATE h/1 "
              "ForgetVisitor Navigate 2 http://site/1");
    EXPECT_EQ(P().LastActivityTime(), before);
    EXPECT_EQ(P().SaverModeStartTime(), w.now);
    EXPECT_GT(w.cursorCounter, 5);
}

TEST_F(PlayerTest, StepIsNotReenteredFromInsideAPortCall) {
    Start({10, 10}, 0);
    w.onNavigate = [this] { P().Tick(); };
    // NAVIGATE sends page 1; the nested tick must not run a step of its own, and the guard
    // is released after it.
    EXPECT_EQ(Walk("0 0 done 3 0"), "NAVIGATE h/h, WAITTIME h/1, NAVIGATE h/1, WAITTIME 1/2");
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
    EXPECT_EQ(w.calls, std::vector<std::string>{"Start /usr/bin/xterm"});
}

}  // namespace
}  // namespace pagelark::testing

#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(PlayerTest, MousePolicyActsOnlyTwoSecondsAfterScreenSaverModeBegan) {
    w.toolNavCount = 1;
    enum class Begin { Play, PlayFromNavigation, ConfigClosed };
    const struct {
        int policy;
        Begin begin;
        const char* trace;
    } cases[] = {{1, Begin::Play, "WAITTIME,WAITSAVER nav,WAITSAVER nav"},
                 {1, Begin::PlayFromNavigation, "NAVIGATE,WAITSAVER nav,WAITSAVER nav"},
                 {2, Begin::ConfigClosed, "WAITTIME,FINPROG,FINPROG"}};
    for (const auto& c : cases) {
        machine.OnMouseMove = static_cast<MouseMovePolicy>(c.policy);
        player.reset();
        Start();
        if (c.begin != Begin::Play) Tick(100);  // well past the grace of the play's start
        if (c.begin == Begin::PlayFromNavigation) {
            P().SwitchToNavigation();
            P().CmdPlay();
        } else if (c.begin == Begin::ConfigClosed) {
            P().CmdConfig();
            Tick();
        }
        w.calls.clear();
        w.pointer.x += 1;  // a move; Cancel keeps the reference from before the window
        if (c.begin == Begin::ConfigClosed) P().ConfigClosed(false);
        P().DocumentComplete(P().NextBrowser());  // the preload again, after the visitor
        EXPECT_EQ(Run({1.9, 0.2, 5}), c.trace) << "policy " << c.policy;
        EXPECT_EQ(P().LastActivityTime(), w.now);
        // Once in navigation mode, moves do nothing more.
        EXPECT_EQ(w.Count("ToolNav 1"), c.policy == 1 ? 1 : 0);
        EXPECT_EQ(w.Count("Navigating 1"), c.policy == 1 ? 1 : 0);
    }
}

TEST_F(PlayerTest, AfterAVisitorThePageOnShowStaysUntilTheNextLoadsInAFreshProfile) {
    for (const bool clear : {true, false}) {
        machine.ClearVisitorData = clear;
        player.reset();
        Start({10, 10});
        P().SwitchToNavigation();
        const int shown = P().CurrentBrowser(), next = P().NextBrowser();
        const std::string preload = "Navigate " + std::to_string(next) + " " + Url(1);
        w.calls.clear();
        P().CmdPlay();
        EXPECT_EQ(w.Count("ForgetVisitor") + w.Count(preload), clear ? 2 : 0);
        EXPECT_EQ(w.Count("Navigating 0"), 1);
        Tick(0, 3);
        EXPECT_EQ(P().CurrentBrowser(), clear ? shown : next) << clear;
    }
    P().DocumentComplete(P().NextBrowser());
    Tick();
    EXPECT_EQ(P().Browser(P().CurrentBrowser()).address, Url(1));
    // A preload that never loads gives way after MaxTime, as any other.
    machine.ClearVisitorData = true;
    P().SwitchToNavigation();
    P().CmdPlay();
    Tick(0, 3);
    EXPECT_EQ(P().State(), S::Navigate);
    Tick(static_cast<double>(show.MaxTime.count()) + 1, 2);
    EXPECT_EQ(P().State(), S::WaitTime);
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
    EXPECT_EQ(w.Take(), "Address file:///run/user/1000/Pagelark/link.html");
    P().SwitchToNavigation();
    w.Advance(1);
    P().CheckNavigation(b, "http://other/", true);  // refused, but the visitor is there
    EXPECT_EQ(P().LastActivityTime(), w.now);
}

}  // namespace
}  // namespace pagelark::testing

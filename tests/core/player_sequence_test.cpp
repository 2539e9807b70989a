// Page sequencing: order, times, preload, the play commands and the browsers' records.

#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using S = PlayerState;

TEST_F(PlayerTest, PlaysStartPageThenLoopsOverThePagesRotatingTheBrowsers) {
    Pages({5, 7, 9});
    Start();
    struct Expected {
        std::string page;
        int seconds;
        int browser;
    };
    const Expected order[] = {{help[0], 2, 1}, {Url(1), 5, 2}, {Url(2), 7, 0},
                              {Url(3), 9, 1},  {Url(1), 5, 2}, {Url(2), 7, 0}};
    for (const Expected& e : order) {
        ASSERT_EQ(Shown(), e.page);
        EXPECT_EQ(P().CurrentBrowser(), e.browser);
        P().DocumentComplete(P().NextBrowser());
        Tick(e.seconds - 0.1);
        ASSERT_EQ(State(), S::WaitTime) << e.page << " left early";
        Tick(0.2);
        Tick();
    }
}

TEST_F(PlayerTest, WithoutAutoLoopThePlayEndsWhenPageNMinusOneIsDone) {
    Pages({5, 5, 5});
    show.AutoLoop = false;
    Start();
    NextPageAfter(3);
    NextPageAfter(6);
    EXPECT_EQ(Shown(), Url(2));
    EXPECT_EQ(w.Count("Navigate " + w.N(P().NextBrowser()) + " " + Url(3)), 1);
    P().DocumentComplete(P().NextBrowser());
    Tick(6);
    EXPECT_EQ(State(), S::FinProg);
}

TEST_F(PlayerTest, FirstPagePastTheEndShowsTheStartPageThenPageOne) {
    Pages({5, 5});
    show.CurrentPage = 9;
    show.MaxTime = 30;
    Start();
    EXPECT_EQ(Shown(), help[0]);
    Tick(29);  // nothing preloads, so nothing completes: MaxTime decides
    EXPECT_EQ(State(), S::WaitTime);
    Tick(2);
    Tick();
    EXPECT_EQ(show.CurrentPage, 1);
    NextPageAfter(3);  // the browser that came on show holds the primed start page
    EXPECT_EQ(Shown(), Url(1));

    player.reset();
    show.CurrentPage = 9;
    show.AutoLoop = false;
    Start();
    NextPageAfter(3);
    EXPECT_EQ(State(), S::FinProg);
}

TEST_F(PlayerTest, PageWithoutTimeStaysUntilNext) {
    Pages({0, 5});
    Start();
    NextPageAfter(3);
    ASSERT_EQ(Shown(), Url(1));
    P().DocumentComplete(P().NextBrowser());
    Tick(100000);
    EXPECT_EQ(State(), S::WaitTime);
    P().CmdNext();
    Tick();
    EXPECT_EQ(Shown(), Url(2));
}

TEST_F(PlayerTest, UnfinishedPreloadIsShownAfterMaxTimeCountedFromTheShow) {
    Pages({10, 10});
    show.MaxTime = 30;
    Start();
    NextPageAfter(3);
    ASSERT_EQ(Shown(), Url(1));
    P().DocumentComplete(P().CurrentBrowser());  // only the preloading browser counts
    P().DocumentComplete(P().SpareBrowser());
    Tick(29.5);
    EXPECT_EQ(State(), S::WaitTime);
    Tick(1);
    EXPECT_EQ(State(), S::Navigate);
}

TEST_F(PlayerTest, PlayCommandsInScreenSaverMode) {
    Pages({5, 5, 5, 5});
    machine.ScreenSaveActive = false;
    Start();
    NextPageAfter(3);
    NextPageAfter(6);
    ASSERT_EQ(Shown(), Url(2));
    P().CmdPrevious();  // the preloaded page 3 comes, page 2 preloads again
    Tick();
    EXPECT_EQ(Shown(), Url(3));
    P().CmdPrevious();
    Tick();
    EXPECT_EQ(Shown(), Url(2));

    P().CmdNext();  // no wait for the page's time
    Tick();
    EXPECT_EQ(Shown(), Url(1));

    P().CmdPause();
    const std::int32_t counter = show.CurrentPage;
    P().CmdNext();
    P().CmdPrevious();
    Tick(1000);
    EXPECT_EQ(State(), S::WaitSaver);
    EXPECT_EQ(show.CurrentPage, counter);
    P().CmdPlay();
    EXPECT_EQ(State(), S::Navigate);
}

TEST_F(PlayerTest, PlayCommandsInNavigationMode) {
    Pages({5, 5});
    Start();
    P().CmdBack();
    EXPECT_EQ(w.Count("Back 1"), 0);
    P().SwitchToNavigation();
    const std::int32_t counter = show.CurrentPage;
    P().CmdNext();
    P().CmdPrevious();
    P().CmdPause();
    EXPECT_EQ(State(), S::WaitSaver);
    EXPECT_EQ(show.CurrentPage, counter);
    P().CmdBack();
    P().CmdForward();
    P().CmdStop();
    P().CmdReload();
    for (const char* call : {"Back 1", "Forward 1", "Stop 1", "Reload 1"})
        EXPECT_EQ(w.Count(call), 1);

    P().CmdPlay();  // Tool Run hidden (OnMouseMove 1): the cursor goes
    EXPECT_EQ(State(), S::Init);
    EXPECT_FALSE(P().NavigationMode());
    EXPECT_LT(w.cursorCounter, -5);
}

TEST_F(PlayerTest, CounterNeverGoesBelowTheStartPage) {
    Pages({5, 5});
    show.AutoLoop = false;
    Start();
    P().CmdPrevious();
    Tick();
    P().CmdPrevious();
    EXPECT_EQ(show.CurrentPage, 0);

    Presentation negative;
    negative.Pages = show.Pages;
    negative.CurrentPage = -4;  // as a file may hold it
    show = negative;
    Tick();
    EXPECT_EQ(show.CurrentPage, 0);
    EXPECT_EQ(P().Browser(P().NextBrowser()).address, help[0]);
}

TEST_F(PlayerTest, HomeNavigatesOnlyWhenTheBrowserDoesNotHoldItAlready) {
    Pages({5});
    show.HomeURL = "http://home/";
    Start();
    P().GoHome();
    P().GoHome();
    EXPECT_EQ(w.Count("Navigate 1 http://home/"), 1);
    EXPECT_EQ(P().Browser(1).time, 10);
    P().LoadFailed(1);
    P().GoHome();
    EXPECT_EQ(w.Count("Navigate 1 http://home/"), 2);
}

TEST_F(PlayerTest, AddressHeldIsReusedUnlessItsLoadFailed) {
    P().BrowseTo(0, Url(1), 5);
    P().BrowseTo(0, Url(1), 5);
    EXPECT_EQ(w.Count("Navigate 0 " + Url(1)), 1);
    EXPECT_TRUE(P().Browser(0).loaded);

    P().LoadFailed(0);  // e.g. the network was down
    P().BrowseTo(0, Url(1), 5);
    EXPECT_EQ(w.Count("Navigate 0 " + Url(1)), 2);
    P().BrowseTo(0, Url(1), 5);
    EXPECT_EQ(w.Count("Navigate 0 " + Url(1)), 2);

    P().LoadFailed(0);
    P().DocumentComplete(0);
    P().BrowseTo(0, Url(1), 5);
    EXPECT_EQ(w.Count("Navigate 0 " + Url(1)), 2);
}

}  // namespace
}  // namespace pagelark::testing

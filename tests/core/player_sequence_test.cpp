#include "core/player.h"

#include "player_fixture.h"
#include "support/warning_log.h"

namespace pagelark::testing {
namespace {

TEST_F(PlayerTest, WithoutWaitCompleteThePagesTimeAloneDecides) {
    show.WaitComplete = false;
    Start({10, 10});
    EXPECT_EQ(Walk("2.1"), "NAVIGATE h/1");
}

// Its error page never comes on show: page 1 stays a whole turn more, page 3 preloads, and the
// snapshot that follows is page 2's number, no second picture of page 1. On Next, page 1 stays
// until page 3 is ready; a preload whose page went elsewhere after it loaded loads again.
TEST_F(PlayerTest, PageThatFailedIsSkippedAtItsTurnOrOnNextAndLeavesNoSecondPicture) {
    Start({5, 5, 5});
    EXPECT_EQ(Walk("done 3 0 fail 6 4.9 done 0.2 0", {"Snapshot"}),
              "NAVIGATE h/1 Snapshot, WAITTIME 1/2, WAITTIME 1/3 Snapshot, WAITTIME 1/3, "
              "NAVIGATE 1/3 Snapshot passed, WAITTIME 3/1");
    for (const auto& [gone, trace] : {
             std::pair{"fail",
                       "NAVIGATE 1/3 Navigate 0 http://site/3, NAVIGATE 1/3, WAITTIME 3/1 "
                       "Front 0 Navigate 1 http://site/1"},
             std::pair{"redirect",
                       "NAVIGATE 1/2 Navigate 0 http://site/2, NAVIGATE 1/2, WAITTIME "
                       "2/3 Front 0 Navigate 1 http://site/3"},
         }) {
        Start({5, 5, 5});
        Walk("done 3 0 done 1");
        EXPECT_EQ(Walk(std::string(gone) + " next 0 0 done 0", {"Navigate", "Front"}), trace);
    }
    // A browser still loading shows what it held before, an error page too: Next, and Play
    // after a pause, wait for its load, at most MaxTime.
    Start({5, 5, 5});
    EXPECT_EQ(Walk("done 3 0 next 0", {"Front"}),
              "NAVIGATE h/1, WAITTIME 1/2 Front 2, NAVIGATE 1/2");
    EXPECT_EQ(Remote(Command::Next), "the next page is still loading");
    EXPECT_EQ(Walk("done ? next pause play 0 299 2", {"Front"}),
              "WAITTIME 2/3 Front 0, NAVIGATE 2/3, NAVIGATE 2/3, WAITTIME 3/1 Front 1");
    Walk("next 0");
    EXPECT_EQ(Remote(Command::Previous), "") << "held, unlike the tool bar's Previous";
    EXPECT_EQ(Walk("0", {"Front"}), "WAITTIME 2/1 Front 0");
}

// Each page of the show gets its line as it leaves: at the next page, passed over (0 s), cut
// short by its error page, at a pause and at navigation mode; the start page gets none.
TEST_F(PlayerTest, EachPageShownIsRecordedOnceAsItLeavesTheShow) {
    machine.PlayLog = true;
    Start({5, 5, 5});
    EXPECT_EQ(Walk("done 3 0 fail 6 4.9 done 0.2 0 done broke 0 done 2 pause 0 play 0 3 nav 0",
                   {"Played"}),
              "NAVIGATE h/1, WAITTIME 1/2, WAITTIME 1/3 Played 2 0s failed, WAITTIME 1/3, "
              "NAVIGATE 1/3, WAITTIME 3/1 Played 1 11s, WAITTIME 1/2 Played 3 0s failed, "
              "WAITTIME 1/2, WAITSAVER 1/2 Played 1 2s, WAITTIME 2/3, WAITTIME 2/3, WAITSAVER nav "
              "2/3 Played 2 3s");
}

// Previous brings the preloaded page while the one before preloads; Next needs no wait. Paused
// or navigating the counter stays past the page preloaded; Play resumes, or from navigation mode
// starts again, hiding the cursor with Tool Run hidden under OnMouseMove 1; after each, as after
// the configuration window's Cancel, the page after the one coming on show preloads.
TEST_F(PlayerTest, PlayCommandsInBothModes) {
    machine.ScreenSaveActive = false;
    w.toolRunCount = 1;
    Start({5, 5, 5, 5});
    EXPECT_EQ(
        Walk("done 3 0 done 6 0 done prev 0 done prev 0 done next 0 pause next prev 1000 done "
             "play 0 nav pause next prev 1000 play 0 done 0 config 0 cancel done 0",
             {"Cursor"}),
        "NAVIGATE h/1, WAITTIME 1/2, NAVIGATE 1/2, WAITTIME 2/3, WAITTIME 3/2, WAITTIME 2/1, "
        "WAITTIME 1/2, WAITSAVER 1/2, WAITTIME 2/3, WAITSAVER nav 2/3, NAVIGATE 2/3 Cursor "
        "hidden, WAITTIME 3/4, WAITCONFIG 3/4, WAITTIME 4/1");
}

// Due, it waits for pause, the configuration window and navigation mode (and NAVIGATE, which
// does not check), and is asked once, whatever follows.
TEST_F(PlayerTest, DueRebootWaitsForPauseTheConfigWindowAndNavigationModeAndPassesItsFlags) {
    machine.AutoReboot = machine.AutoLogin = machine.ForceReboot = true;
    machine.ScreenSaveActive = false;
    machine.RebootMoment = w.now + 60 / kSecondsPerDay;
    Start();
    EXPECT_EQ(Walk("30 pause 120 config 5 5 cancel nav 5 5 play done 0 0 0 0",
                   {"Reboot", "Stop", "Unload"}),
              "WAITTIME h/1, WAITSAVER h/1, WAITCONFIG h/1, WAITCONFIG h/1, WAITSAVER nav h/1, "
              "WAITSAVER nav h/1, NAVIGATE h/1, WAITTIME 1/1, FINPROG 1/1 Reboot 11 Stop 0 Stop 1 "
              "Stop 2, FINPROG 1/1 UnloadAll");
}

// A show handed over at once keeps the counter, or starts again from its FirstPage when it is
// another presentation; a refused reboot is asked again a day on, and stays so unless the
// show names another time.
TEST_F(PlayerTest, AShowHandedOverKeepsTheCounterAndARefusedRebootUnlessToldOtherwise) {
    for (const auto& [change, trace] :
         {std::pair{ShowChange::Now, "NAVIGATE 1/2, WAITTIME 2/3"},
          std::pair{ShowChange::FromFirstPage, "NAVIGATE 1/2, WAITTIME 2/1"}}) {
        Start({5, 5, 5});
        Walk("done 3 0");
        Show next = P().Playing();
        next.presentation.FirstPage = 3;
        P().TakeShow(next, change);
        EXPECT_EQ(Walk("done 6 0"), trace);
    }
    machine.AutoReboot = true;
    machine.RebootMoment = w.now + 1 / kSecondsPerDay;
    w.rebootAccepted = false;
    Start({5, 5});
    EXPECT_EQ(Walk("2 0 0 done 1 0 86390 0 10", {"Reboot"}),
              "WAITTIME h/1 Reboot 0, WAITTIME h/1, WAITTIME h/1, NAVIGATE h/1, WAITTIME 1/2, "
              "NAVIGATE 1/2, WAITTIME 2/1, WAITTIME 2/1 Reboot 0");
    P().TakeShow(Show{show, machine, buttons, d}, ShowChange::Now);
    EXPECT_EQ(Walk("1", {"Reboot"}), "WAITTIME 2/1");
    machine.RebootMoment = w.now + 1 / kSecondsPerDay;
    P().TakeShow(Show{show, machine, buttons, d}, ShowChange::Now);
    EXPECT_EQ(Walk("2", {"Reboot"}), "WAITTIME 2/1 Reboot 0");
}

// Over the memory ceiling, the browsers behind the page on show start afresh at the next page
// change: the next page loads again although its browser held it a loop ago.
TEST_F(PlayerTest, RenewedBrowsersAreThoseNotOnShowAndLoadAgain) {
    Start({5, 5, 5});
    EXPECT_EQ(Walk("done 3 0 done 6 0 done 6 0 done 6 0 renew done 6 0", {"Renew", "Navigate"}),
              "NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2, NAVIGATE 1/2, WAITTIME 2/3 "
              "Navigate 1 http://site/3, NAVIGATE 2/3, WAITTIME 3/1, NAVIGATE 3/1, WAITTIME 1/2, "
              "NAVIGATE 1/2, WAITTIME 2/3 Renew 1 Renew 2 Navigate 1 http://site/3");
}

// Without AutoLoop the show ends when page N-1 is done; a FirstPage past the end shows the
// primed start page for its time once more. A page out of its hours (the clock reads a Sunday
// noon) never loads; the others keep their order, first page and loop.
TEST_F(PlayerTest, PagesShownFollowFirstPageAutoLoopAndTheirHours) {
    const std::tuple<int, bool, bool, const char*> cases[] = {
        {1, false, false, "NAVIGATE h/1, WAITTIME 1/2, NAVIGATE 1/2, WAITTIME 2/3, FINPROG 2/3"},
        {9, false, false, "FINPROG h/h, FINPROG h/h, FINPROG h/h, FINPROG h/h, FINPROG h/h"},
        {9, true, false, "NAVIGATE h/h, WAITTIME h/1, NAVIGATE h/1, WAITTIME 1/2, NAVIGATE 1/2"},
        {1, true, true, "NAVIGATE h/1, WAITTIME 1/3, NAVIGATE 1/3, WAITTIME 3/1, NAVIGATE 3/1"},
        {2, true, true, "NAVIGATE h/3, WAITTIME 3/1, NAVIGATE 3/1, WAITTIME 1/3, NAVIGATE 1/3"},
        // As with FirstPage 3: the last page preloads but the show ends before it.
        {2, false, true, "FINPROG h/3, FINPROG h/3, FINPROG h/3, FINPROG h/3, FINPROG h/3"},
    };
    for (const auto& [firstPage, autoLoop, hours, trace] : cases) {
        player.reset();
        show.FirstPage = firstPage;
        show.AutoLoop = autoLoop;
        SetPages({5, 5, 5});
        if (hours) {
            show.Pages[1].Days = "Mon-Fri";
            show.Pages[0].From = "12:00";
            show.Pages[2].To = "13:00";
        }
        Begin();
        EXPECT_EQ(Walk("done 6 done 6 done 6 done 6 done 6"), trace)
            << firstPage << autoLoop << hours;
    }
}

// A clock set back an hour (autumn's daylight-saving change) holds no page, preload or visit
// until the old reading comes round.
TEST_F(PlayerTest, AClockSetBackLetsThePageOnShowStayOnlyItsTime) {
    Start({5, 5, 5});
    EXPECT_EQ(Walk("done 6 0 back 1 done 6 0"),
              "NAVIGATE h/1, WAITTIME 1/2, WAITTIME 1/2, NAVIGATE 1/2, WAITTIME 2/3");
    // Nor a preload that never completes past MaxTime after Next.
    EXPECT_EQ(Walk("next 1 back 1 299 2"),
              "NAVIGATE 2/3, NAVIGATE 2/3, NAVIGATE 2/3, WAITTIME 3/1");
    // Nor a visitor's navigation mode past its idle time.
    EXPECT_EQ(Walk("nav 1 back 1 299 2"),
              "WAITSAVER nav 3/1, WAITSAVER nav 3/1, WAITSAVER nav 3/1, INIT 3/1");
}

// A browser holds a page only while it shows where the program's load of it landed: once a
// visitor's link or the page itself took it elsewhere, the page is sent again at its turn, and
// Home and the page's own address typed load again.
TEST_F(PlayerTest, PageItsBrowserLeftIsSentAgainAtItsTurn) {
    // A loop: page 1 on show, its browser taken elsewhere; then up to its next turn.
    const std::string loop = "done 3 0 done 6 0 done 6 0 done 6 0";
    const std::string turn = "done 6 0 done 6 0";
    // Page 1 loads again, out of sight before its turn.
    const char* again =
        "NAVIGATE 1/2, WAITTIME 2/3, NAVIGATE 2/3, WAITTIME 3/1 Navigate 2 http://site/1";
    // Locked kiosks have an include list, the others none.
    const struct {
        int pages;
        bool locked;
        std::string before, steps;
        const char* trace;
    } cases[] = {
        {3, false, loop + " link", turn, again},
        {3, true, loop + " link", turn, again},  // by an included link
        // One page in every browser: the one left loads it again at its turn.
        {1, false, loop + " link", turn,
         "NAVIGATE 1/1, WAITTIME 1/1, NAVIGATE 1/1, WAITTIME 1/1 Navigate 2 http://site/1"},
        // Its own redirect while it loads is where it lands; a later one leaves it.
        {3, false, "redirect " + loop, turn,
         "NAVIGATE 1/2, WAITTIME 2/3, NAVIGATE 2/3, WAITTIME 3/1"},
        {3, false, "redirect " + loop + " link", turn, again},
        // At its own address: a fragment, a new history entry, locked.
        {3, true, loop + " hash", turn, again},
        {3, false, loop + " entry", turn, again},
        // A refused page reached without the engine asking: sent back to its page at once;
        // reached again, the page gives way at once and loads again at its turn.
        {3, true, loop, "blank ?", "WAITTIME 1/2 Navigate 2 http://site/1"},
        {3, true, loop + " blank blank", "done 6 0",
         "NAVIGATE 2/3, WAITTIME 3/1 Navigate 2 http://site/1"},
        // The white page the engine puts in place of an "about:" page it blocks, with no list.
        {3, false, loop, "blocked ?", "WAITTIME 1/2 Navigate 2 http://site/1"},
    };
    for (const auto& c : cases) {
        machine.Locked = c.locked;
        show.Include =
            c.locked ? std::vector<std::string>{"http://site/"} : std::vector<std::string>{};
        c.pages == 1 ? Start({5}) : Start({5, 5, 5});
        Walk(c.before);
        EXPECT_EQ(Walk(c.steps, {"Navigate"}), c.trace)
            << c.before << " " << c.pages << " pages" << (c.locked ? ", locked" : "");
    }

    // Home twice, and the page's own address typed twice, after a link each; Back from
    // them still reaches the show's page.
    machine.Locked = false;
    show.Include = {"http://site/"};
    show.HomeURL = Url(1);
    Start({5, 5, 5});
    Walk("done 3 0 link");
    EXPECT_EQ(P().AddressOnShow(), "http://site/away");
    w.calls.clear();
    for (int i = 0; i < 2; ++i) {
        P().RunFromScreen(Command::Home);
        P().DocumentComplete(P().CurrentBrowser());
    }
    P().LocationChanged(P().CurrentBrowser(), "http://site/away");
    for (int i = 0; i < 2; ++i)
        P().RunFromScreen({Command::Browse, CommandSource::Screen, Url(1)});
    EXPECT_EQ(w.calls, (std::vector<std::string>{"Navigate 2 http://site/1 kept",
                                                 "Navigate 2 http://site/1 kept"}));

    // Sent where nothing answers, it gives way the moment the next page is ready, whatever its
    // time (0: for good), and loads again for its turn; paused (a remote address too), play
    // resumes as soon as the next page has loaded.
    Start({0, 5, 5});
    EXPECT_EQ(Walk("done 3 0 1 broke 1 done ? 0 pause broke ? done ?", {"Navigate"}),
              "NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2, WAITTIME 1/2, WAITTIME 1/2, "
              "WAITTIME 2/3 Navigate 1 http://site/3, WAITTIME 2/3, NAVIGATE 2/3, WAITTIME 3/1 "
              "Navigate 2 http://site/1");
}

// A kiosk left offline for weeks must not fill its log with the same line, nor its screen with
// the last page: its offline page stands in, the pages are tried behind it ever further apart,
// and the first that loads brings the show back.
TEST_F(PlayerTest, AShowOfNoneStandsInItsOfflinePageUntilAPageLoads) {
    WarningLog log;
    Start({5, 5});
    // It comes on show once loaded out of sight; the tries are 2 and 4 seconds apart here.
    EXPECT_EQ(
        Walk("fail 3 fail 3 done 1 fail 1 1 1 fail 1 3 1 done 1 1", {"Navigate", "Front"}),
        "WAITTIME h/2 Navigate 2 http://site/2, WAITTIME h/offline Navigate 2 offline, "
        "WAITTIME offline/2 Front 2 Navigate 0 http://site/2, WAITTIME offline/2, "
        "WAITTIME offline/2, WAITTIME offline/1 Navigate 0 http://site/1, WAITTIME offline/1, "
        "WAITTIME offline/1, WAITTIME offline/2 Navigate 0 http://site/2, NAVIGATE offline/2, "
        "WAITTIME 2/1 Front 0 Navigate 1 http://site/1");
    const std::string skipped = "page skipped, it cannot be loaded: ";
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{skipped + Url(1), skipped + Url(2),
                                        "no page of the presentation can be loaded",
                                        "the show is offline: the offline page stands in until a "
                                        "page loads",
                                        "the show is back: page 2 loaded"}));

    // Ever further apart, but never more than a minute, for as long as nothing loads.
    Start({5, 5});
    Walk("fail 3 fail 3 done 1");
    // The engine's reason is text from the network: escaped.
    const auto saysWhy = [this] {
        return P().Browser(P().CurrentBrowser()).address.find("%26lt%3Bb%26gt%3B") !=
               std::string::npos;
    };
    std::vector<int> gaps;
    for (int second = 1, last = 0; second <= 600; ++second) {
        const std::string step = Walk("fail 1", {"Navigate"});
        ASSERT_TRUE(step.starts_with("WAITTIME offline/")) << step;
        if (step.find("Navigate") == std::string::npos) continue;
        gaps.push_back(second - last);
        last = second;
    }
    EXPECT_TRUE(std::ranges::is_sorted(gaps));
    EXPECT_EQ(gaps.back(), 61);  // a minute, and the tick that finds the try failed
    // The owner's offline page that cannot be loaded gives way to the program's own, which says
    // why only to a visitor browsing.
    show.OfflinePage = Url(9);
    Start({5});
    EXPECT_EQ(Walk("fail 3 fail 1 done 1", {"Navigate"}),
              "WAITTIME h/9 Navigate 2 http://site/9, WAITTIME h/offline Navigate 2 offline, "
              "WAITTIME offline/1 Navigate 0 http://site/1");
    EXPECT_STREQ(RemoteStateWord(P(), true), "offline");
    P().LoadFailed(P().NextBrowser(), "<b>", true);
    EXPECT_FALSE(saysWhy());
    log.lines.clear();
    Walk("nav 1");
    EXPECT_TRUE(saysWhy());
    Walk("play 1");
    EXPECT_FALSE(saysWhy());
    // The page on show that failed: after it loaded, or brought unfinished after MaxTime.
    Walk("done 6 0 broke 301 0 broke");
    const std::string movesOn = " (refused); the show moves on";
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"the show is back: page 1 loaded",
                                        "the page on show went where it cannot be loaded" + movesOn,
                                        "the page on show could not be loaded" + movesOn}));
    // The owner's offline page on show that fails gives way to the program's own; tries go on.
    Start({5});
    Walk("fail 3 done 1 fail 1");
    EXPECT_EQ(Walk("broke 1 3 done 1 1", {"Navigate"}),
              "WAITTIME offline/1 Navigate 2 offline, WAITTIME offline/1 Navigate 0 http://site/1, "
              "NAVIGATE offline/1, WAITTIME 1/1 Navigate 1 http://site/1");
    // Its load stopped (it went to a refused address), reported again once the program's own
    // page has taken its place: the tries still go on.
    Start({5});
    Walk("fail 3 done 1 fail 1");
    for (int i = 0; i < 2; ++i)
        P().LoadFailed(P().CurrentBrowser(), "its load was stopped", false);
    EXPECT_EQ(Walk("3 done 1 1", {"Navigate"}),
              "WAITTIME offline/1 Navigate 0 http://site/1, NAVIGATE offline/1, WAITTIME 1/1 "
              "Navigate 1 http://site/1");
    // A try loads afresh, though a browser still holds the page from before the spell.
    show.OfflinePage.clear();
    SetPages({5, 5});
    show.Pages[1].URL = Url(1);
    player.reset();
    Begin();
    Walk("done 1 5 done 5 done 5 done 5 fail 6 fail 6");
    EXPECT_EQ(Walk("done 1 1", {"Navigate"}),
              "WAITTIME offline/1 Navigate 2 http://site/1, WAITTIME offline/1");
}

// A browser is set to its page's zoom (the presentation's where the page has none) before it is
// sent the page, and keeps none of it: the same address at 100 % loads again, and at 100 %.
TEST_F(PlayerTest, EachPageLoadsAtItsOwnZoomAndLeavesNoneBehind) {
    SetPages({5, 5, 5, 5});
    show.Zoom = 150;
    show.Pages[0].Zoom = "200";
    show.Pages[3].URL = Url(1);
    show.Pages[3].Zoom = "100";
    player.reset();
    Begin();
    EXPECT_EQ(Walk("done 3 0 done 6 0 done 6 0 done 6 0", {"Navigate"}),
              "NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2 at 150, NAVIGATE 1/2, WAITTIME "
              "2/3 Navigate 1 http://site/3 at 150, NAVIGATE 2/3, WAITTIME 3/1 Navigate 2 "
              "http://site/1, NAVIGATE 3/1, WAITTIME 1/1 Navigate 0 http://site/1 at 200");
}

}  // namespace
}  // namespace pagelark::testing

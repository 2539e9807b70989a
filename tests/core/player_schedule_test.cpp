#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

// The clock reads a Sunday noon. With no page due the idle page stands in, without a blank
// frame and loading no page, until the look as a minute begins finds a page come due; Next and
// Previous have no page to go to, Pause and Play keep the idle page. A preload whose hours end
// before its turn gives way to the page due then.
TEST_F(PlayerTest, WithNoPageDueTheIdlePageShowsUntilOneIs) {
    SetPages({5, 5, 5});
    show.Pages[0].Days = "Mon-Fri";
    show.Pages[1].From = "12:02";
    show.Pages[2].From = "12:01";
    show.Pages[2].To = "12:02";
    // The black page is the program's own: a locked kiosk's include list need not name it.
    show.Include = {"http://site/"};
    machine.Locked = true;
    Begin();
    // So is the offline page, with its reason; a page of a visitor's that starts the same way
    // is not.
    const std::string offline = OwnOfflinePage("http://site/1 <b>failed</b>");
    // A path of kilobytes on the problem page keeps its start and end, and leaves room.
    const std::string problem =
        OwnProblemPage("/start" + std::string(8192, 'x') + "/end.tso", "", "");
    EXPECT_LT(problem.size(), 3000u);
    EXPECT_NE(problem.find("%2Fstart"), std::string::npos);
    EXPECT_NE(problem.find("%2Fend.tso"), std::string::npos);
    for (const std::string& address :
         {std::string(kBlackPage),
          std::string("data:text/html,<html style=\"background:#000\"></html>"), offline})
        EXPECT_FALSE(P().CheckNavigation(P().NextBrowser(), address, true)) << address;
    for (const std::string& address :
         {std::string("data:text/html,<p>x"), offline.substr(0, offline.size() / 2) + "<script>",
          offline.substr(0, offline.rfind("%3C%2Fbody")) + "%3Cscript%3Ex()%3C%2Fscript%3E" +
              offline.substr(offline.rfind("%3C%2Fbody"))})
        EXPECT_TRUE(P().CheckNavigation(P().NextBrowser(), address, true)) << address;
    EXPECT_EQ(Walk("done 3 0 30 pause 1 play done 1"),
              "NAVIGATE h/black, WAITTIME black/black, WAITTIME black/black, WAITSAVER "
              "black/black, WAITTIME black/black");
    EXPECT_EQ(Remote(Command::Next), "no page is due");
    EXPECT_EQ(Remote(Command::Previous), "no page is due");
    // A visitor's browsing returns to it.
    EXPECT_EQ(Walk("nav 1 play 1 done 1"),
              "WAITSAVER nav black/black, NAVIGATE black/black, WAITTIME black/black");
    // 12:00:59, 12:01:00 and on.
    EXPECT_EQ(Walk("21 1 done 1 done 59 1 done 1"),
              "WAITTIME black/black, NAVIGATE black/3, WAITTIME 3/3, NAVIGATE 3/3, NAVIGATE 3/2, "
              "WAITTIME 2/2");
}

// Pages come due together after the idle page: the first of them comes on show first.
TEST_F(PlayerTest, PagesComeDueTogetherFromTheFirst) {
    SetPages({5, 5});
    for (PresentationPage& page : show.Pages)
        page.From = "12:01";
    Begin();
    EXPECT_EQ(Walk("done 3 done 57 done 1 done 5"),
              "NAVIGATE h/black, NAVIGATE black/1, WAITTIME 1/2, NAVIGATE 1/2");
}

// A page kept on show until a command moves on gives way when its hours end, to the idle page
// and then to the page that comes due, as a page with a time gives way when its time is over.
TEST_F(PlayerTest, APageHeldOnShowGivesWayWhenItsHoursEnd) {
    show.IdlePage = Url(9);
    SetPages({0, 0});
    show.Pages[0].To = "12:01";
    show.Pages[1].From = "12:03";
    show.Pages[1].To = "12:04";
    Begin();
    // 12:00:33, 12:01:03 and on.
    EXPECT_EQ(Walk("done 3 done 30 30 done 1 done 120 done 1 done 60 done 1 done 1"),
              "NAVIGATE h/1, WAITTIME 1/1, WAITTIME 1/1, NAVIGATE 1/9, NAVIGATE 9/2, WAITTIME 2/2, "
              "NAVIGATE 2/2, NAVIGATE 2/9, WAITTIME 9/9");
    // The page due then cannot be loaded: it is tried again as the next minute begins, not on
    // every tick, and failing again the offline page stands in for it, not the page past its
    // hours; it is tried behind that one.
    player.reset();
    w.now = DateTimeValue(2026, 3, 1, 12, 0);
    show.Pages[1].From = show.Pages[1].To = "";
    Begin();
    EXPECT_EQ(Walk("done 3 done 60 fail 1 fail 1 fail 57 done 1 fail 1", {"Navigate"}),
              "NAVIGATE h/1, WAITTIME 1/2 Navigate 0 http://site/2, WAITTIME 1/2 Navigate 0 "
              "http://site/2, WAITTIME 1/2, WAITTIME 1/offline Navigate 0 offline, "
              "WAITTIME offline/2 Navigate 1 http://site/2, WAITTIME offline/2");
}

// The owner's idle page, and the black one once it cannot be loaded. A clock set back an hour
// or a day, or on a day, looks again at once: the page due then comes on show.
TEST_F(PlayerTest, TheIdlePageFollowsTheClockBackAndForth) {
    show.IdlePage = Url(9);
    SetPages({5, 5});
    show.Pages[0].From = "11:00";
    show.Pages[0].To = "11:30";
    show.Pages[1].Days = "Mon";
    Begin();
    EXPECT_EQ(Walk("? fail 3 done 3 0 0 back 1 done 1"),
              "WAITTIME h/9, WAITTIME h/black, NAVIGATE h/black, WAITTIME black/black, WAITTIME "
              "black/black, NAVIGATE black/1, WAITTIME 1/1");
    // Monday, when page 2 is due too; then Saturday, when it is not.
    EXPECT_EQ(Walk("86400 done 1 done 6 dayback dayback 1 done 1"),
              "NAVIGATE 1/1, WAITTIME 1/2, NAVIGATE 1/2, NAVIGATE 1/1, WAITTIME 1/1");
}

// Previous passes back over a page out of its hours to one that is due.
TEST_F(PlayerTest, PreviousGoesBackToAPageThatIsDue) {
    SetPages({5, 5, 5, 5});
    show.Pages[2].Days = "Sat";
    Begin();
    EXPECT_EQ(Walk("done 3 done 1 6 done 1 6 done 1 6 done 1 prev done 1 prev done 1 prev done 1"),
              "NAVIGATE h/1, WAITTIME 1/2, WAITTIME 1/2, NAVIGATE 1/2, WAITTIME 2/4, WAITTIME 2/4, "
              "NAVIGATE 2/4, WAITTIME 4/1, WAITTIME 1/4, WAITTIME 4/2, WAITTIME 2/1");
}

}  // namespace
}  // namespace pagelark::testing

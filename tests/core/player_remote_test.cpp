#include <set>
#include <utility>

#include "player_fixture.h"
#include "support/warning_log.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

// Loaded out of sight in the spare browser, it comes on show only once loaded; refused at once,
// after a failed load or after too long, the page on show stays and page changes only waited.
TEST_F(PlayerTest, RemoteShowAddressShowsOnlyLoadedWebPagesTheListsAllowAndPausesTheShow) {
    show.Exclude = {"http://site/private"};
    Start({10, 10});
    std::vector<std::string> answers;
    const auto ask = [&](const std::string& address) {
        const std::string refusal = Remote(Command::ShowAddress, address, [&](const Result<>& r) {
            answers.push_back(r ? "shown" : r.Error());
        });
        if (!refusal.empty()) answers.push_back(refusal);
    };
    const std::string megabytes = "http://site/" + std::string(1 << 20, 'x');
    for (const std::string& address :
         std::vector<std::string>{"file:///etc/passwd", "javascript:alert(1)", "http://user@site/",
                                  "http://site//private/x", megabytes})
        ask(address);
    EXPECT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers.back(), "the address is over 64 KiB");
    EXPECT_EQ(Walk("?", {"Navigate"}), "WAITTIME h/1");

    answers.clear();
    const WarningLog log;
    ask("http://gone/" + std::string(60000, 'x'));
    ask("http://other/");
    P().LoadFailed(P().SpareBrowser(), "net::ERR_CONNECTION_REFUSED", true);
    EXPECT_LT(P().LastLoadFailure().size(), 500u) << "a status carrying the address whole";
    EXPECT_EQ(Walk("0", {"Front"}), "WAITTIME h/1");
    ask("http://slow/");
    const std::set<std::string> loading = {"an address is still loading"};
    EXPECT_EQ((std::set{Remote(Command::Next), Remote(Command::Previous), Remote(Command::Pause),
                        Remote(Command::Play), Remote(Command::Reload)}),
              loading);
    EXPECT_EQ(Walk("done 3 0 16.9 0.2", {"Front", "Navigate"}),
              "NAVIGATE h/1, NAVIGATE h/1, NAVIGATE h/1, WAITTIME 1/2 Front 2 Navigate 0 "
              "http://site/2");
    ask("HTTPS://elsewhere/notice");
    P().LocationChanged(P().SpareBrowser(), "https://elsewhere/notice/today");  // a redirect
    P().DocumentComplete(P().SpareBrowser());
    EXPECT_EQ(Walk("0", {"Front"}), "WAITSAVER HTTPS://elsewhere/notice/2 Front 1");
    EXPECT_EQ(P().AddressOnShow(), "https://elsewhere/notice/today");
    EXPECT_EQ(answers.size(), 3u) << "answered before its page had a step to reach the screen";
    EXPECT_EQ(Walk("60"), "WAITSAVER HTTPS://elsewhere/notice/2");
    EXPECT_EQ(answers,
              (std::vector<std::string>{
                  "another address is still loading",
                  "the address could not be loaded: net::ERR_CONNECTION_REFUSED",
                  "the address could not be loaded: it took longer than 20 seconds", "shown"}));
    EXPECT_LT(log.lines.at(0).size(), 500u) << "an address logged whole";
    // Held until Play, which a paused show takes and a playing one refuses.
    EXPECT_EQ(Remote(Command::Play), "");
    EXPECT_EQ(Walk("done 0"), "WAITTIME 2/1");
    EXPECT_NE(Remote(Command::Play), "");
    EXPECT_EQ(P().PageOnShow(), 2);
}

TEST_F(PlayerTest, RemoteCommandsAreRefusedWhileAVisitorBrowsesAndSayWhy) {
    w.toolNavCount = 1;
    EXPECT_EQ(Remote(Command::Previous), "the show is not playing");  // not yet
    SetPages({10, 10});
    Begin();
    EXPECT_EQ(P().PageOnShow(), 0);  // the start page
    P().RunFromScreen(Command::Navigation);
    EXPECT_STREQ(RemoteStateWord(P(), true), "navigation");
    for (Command command : {Command::Next, Command::Previous, Command::Pause, Command::ShowAddress})
        EXPECT_EQ(Remote(command, "http://site/1"), "a visitor is browsing");
    w.calls.clear();
    EXPECT_EQ(Remote(Command::Reload), "");
    EXPECT_EQ(w.calls, std::vector<std::string>{"Reload " + std::to_string(P().CurrentBrowser())});
    // The configuration window opened from there is what the state says.
    P().RunFromScreen(Command::Config);
    EXPECT_STREQ(RemoteStateWord(P(), true), "config");
}

TEST_F(PlayerTest, TheLastLoadFailureIsReportedUntilThatAddressLoads) {
    Start({10, 10});
    const int next = P().NextBrowser();
    P().LoadFailed(next, "refused", true);
    EXPECT_EQ(P().LastLoadFailure(), Url(1));
    P().DocumentComplete(P().CurrentBrowser());
    EXPECT_EQ(P().LastLoadFailure(), Url(1));
    P().DocumentComplete(next);
    EXPECT_EQ(P().LastLoadFailure(), "");
}

TEST_F(PlayerTest, ANewVersionShowsAtThePageBoundaryOnceItsFirstPageLoaded) {
    for (const bool sameFile : {true, false}) {
        d.CurrentFile = "/cache/lobby.tso";
        Start({10, 10});
        Walk("done 3 0");
        Show next = P().Playing();
        next.presentation.Pages = {{"http://new/1", false, 5s}, {"http://new/2", false, 5s}};
        if (!sameFile) next.document.CurrentFile = "/cache/other.tso";
        P().TakeShow(next, ShowChange::NewVersion);
        // Not before page 1's time is over, and then page 1 stays while the new first page
        // loads; under another name the show is the operator's own and goes on.
        EXPECT_EQ(Walk(sameFile ? "done 5 0 6 0 1 done 0" : "done 5 0 6 0", {"Navigate"}),
                  sameFile ? "WAITTIME 1/2, WAITTIME 1/2, NAVIGATE 1/2, NAVIGATE 1/http://new/1 "
                             "Navigate 0 http://new/1, NAVIGATE 1/http://new/1, WAITTIME "
                             "http://new/1/http://new/2 Navigate 1 http://new/2"
                           : "WAITTIME 1/2, WAITTIME 1/2, NAVIGATE 1/2, WAITTIME 2/1 Navigate 1 "
                             "http://site/1")
            << sameFile;
    }
    // A show of no pages yet has nothing to wait for: the first version comes at once.
    Start({});
    // Its start page turns into the problem page once the server refused: it comes on show.
    const std::string was = std::exchange(help[0], "file:///problem.html");
    P().StartPageMoved(was);
    for (const int b : {P().CurrentBrowser(), P().NextBrowser()})
        EXPECT_EQ(P().Browser(b).address, help[0]);
    // An address shown over it, then Play: the start page is the show, back at once.
    EXPECT_EQ(Remote(Command::ShowAddress, "http://elsewhere/"), "");
    P().DocumentComplete(P().SpareBrowser());
    EXPECT_EQ(Walk("0 play 0"), "WAITSAVER http://elsewhere//h, WAITTIME h/h");
    EXPECT_EQ(Remote(Command::Next), "the presentation has no pages");
    EXPECT_STREQ(RemoteStateWord(P(), true), "problem");
    Show first = P().Playing();
    first.presentation.Pages = {{"http://new/1", false, 5s}};
    P().TakeShow(first, ShowChange::NewVersion);
    EXPECT_EQ(Walk("3 0 done 0"),
              "NAVIGATE h/h, NAVIGATE h/http://new/1, WAITTIME http://new/1/http://new/1");
    EXPECT_STREQ(RemoteStateWord(P(), true), "playing");
    // Paused, a show of no pages still has nothing but its start page on show.
    Start({});
    Walk("0 0");
    EXPECT_EQ(Remote(Command::Pause), "");
    EXPECT_EQ(Walk("0"), "WAITSAVER h/h");
    EXPECT_STREQ(RemoteStateWord(P(), true), "problem");
}

}  // namespace
}  // namespace pagelark::testing

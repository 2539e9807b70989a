#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

TEST_F(PlayerTest, RemoteShowAddressShowsOnlyWebPagesTheListsAllowAndPausesTheShow) {
    show.Exclude = {"http://site/private"};
    Start({10, 10});
    const struct {
        const char* address;
        bool shown;
    } cases[] = {{"file:///etc/passwd", false},
                 {"javascript:alert(1)", false},
                 {"http://user@site/", false},
                 {"http://site//private/x", false},
                 {"HTTPS://elsewhere/notice", true}};
    for (const auto& c : cases) {
        w.calls.clear();
        const std::string refusal = P().RemoteShowAddress(c.address);
        EXPECT_EQ(refusal.empty(), c.shown) << c.address << ": " << refusal;
        EXPECT_EQ(std::ranges::count(w.calls, "Navigate " + std::to_string(P().CurrentBrowser()) +
                                                  " " + c.address),
                  c.shown ? 1 : 0)
            << c.address;
    }
    // Held until Play, which a paused show takes and a playing one refuses.
    EXPECT_EQ(Walk("60"), "WAITSAVER HTTPS://elsewhere/notice/1");
    EXPECT_EQ(P().RemotePlay(), "");
    EXPECT_EQ(Walk("done 0"), "WAITTIME 1/1");
    EXPECT_NE(P().RemotePlay(), "");
    EXPECT_EQ(P().PageOnShow(), 1);
}

TEST_F(PlayerTest, RemoteCommandsAreRefusedWhileAVisitorBrowsesAndSayWhy) {
    w.toolNavCount = 1;
    Start({10, 10});
    EXPECT_EQ(P().PageOnShow(), 0);  // the start page
    P().SwitchToNavigation();
    for (PlayCommand command : {PlayCommand::Next, PlayCommand::Previous, PlayCommand::Pause})
        EXPECT_EQ(P().Remote(command), "a visitor is browsing");
    EXPECT_EQ(P().RemoteShowAddress("http://site/1"), "a visitor is browsing");
    w.calls.clear();
    EXPECT_EQ(P().RemoteReload(), "");
    EXPECT_EQ(w.calls, std::vector<std::string>{"Reload " + std::to_string(P().CurrentBrowser())});
}

TEST_F(PlayerTest, TheLastLoadFailureIsReportedUntilThatAddressLoads) {
    Start({10, 10});
    const int next = P().NextBrowser();
    P().LoadFailed(next);
    EXPECT_EQ(P().LastLoadFailure(), Url(1));
    P().DocumentComplete(P().CurrentBrowser());
    EXPECT_EQ(P().LastLoadFailure(), Url(1));
    P().DocumentComplete(next);
    EXPECT_EQ(P().LastLoadFailure(), "");
}

TEST_F(PlayerTest, ANewVersionShowsAtThePageBoundaryOnceItsFirstPageLoaded) {
    for (const bool sameFile : {true, false}) {
        show.CurrentFile = "/cache/lobby.tso";
        show.CurrentPage = 1;
        player.reset();
        Start({10, 10});
        Walk("done 3 0");
        Presentation next = show;
        next.Pages = {{"http://new/1", false, 5s}, {"http://new/2", false, 5s}};
        next.CurrentPage = 1;
        if (!sameFile) next.CurrentFile = "/cache/other.tso";
        P().OfferPresentation(next);
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
    player.reset();
    Start({});
    Presentation first = show;
    first.Pages = {{"http://new/1", false, 5s}};
    P().OfferPresentation(first);
    EXPECT_EQ(Walk("3 0 done 0"),
              "NAVIGATE h/h, NAVIGATE h/http://new/1, WAITTIME http://new/1/http://new/1");
}

}  // namespace
}  // namespace pagelark::testing

#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(PlayerTest, ANewVersionShowsAtThePageBoundaryOnceItsFirstPageLoaded) {
    for (const bool sameFile : {true, false}) {
        show.CurrentFile = "/cache/lobby.tso";
        show.CurrentPage = 1;
        player.reset();
        Start({10, 10});
        NextPageAfter(3);
        ASSERT_EQ(Shown(), Url(1));
        Presentation next = show;
        next.Pages = {{"http://new/1", false, std::chrono::seconds{5}},
                      {"http://new/2", false, std::chrono::seconds{5}}};
        next.CurrentPage = 1;
        if (!sameFile) next.CurrentFile = "/cache/other.tso";
        P().OfferPresentation(next);
        P().DocumentComplete(P().NextBrowser());
        Tick(5, 2);
        EXPECT_EQ(Shown(), Url(1)) << "before its time is over";
        Tick(6, 2);
        const int preload = P().NextBrowser();
        EXPECT_EQ(Shown(), sameFile ? Url(1) : Url(2)) << sameFile;
        if (!sameFile) continue;
        EXPECT_EQ(w.Count("Navigate " + std::to_string(preload) + " http://new/1"), 1);
        Tick(1);
        EXPECT_EQ(Shown(), Url(1)) << "while the new first page loads";
        P().DocumentComplete(preload);
        Tick();
        EXPECT_EQ(Shown(), "http://new/1");
        EXPECT_EQ(P().Browser(P().NextBrowser()).address, "http://new/2");
    }
}

}  // namespace
}  // namespace pagelark::testing

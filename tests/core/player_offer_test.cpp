#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

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
}

}  // namespace
}  // namespace pagelark::testing

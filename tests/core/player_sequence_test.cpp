#include "core/player.h"

#include "platform/log.h"
#include "player_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(PlayerTest, PagesShownFollowFirstPageAndAutoLoop) {
    const struct {
        int firstPage;
        bool autoLoop;
        std::vector<std::string> shown;                  // until the end, or the first five
    } cases[] = {{1, false, {help[0], Url(1), Url(2)}},  // ends when page N-1 is done
                 {9, false, {help[0]}},
                 // The browser that comes on show holds the primed start page, for its time.
                 {9, true, {help[0], help[0], Url(1), Url(2), Url(3)}}};
    for (const auto& c : cases) {
        player.reset();
        show.CurrentPage = c.firstPage;
        show.AutoLoop = c.autoLoop;
        Start({5, 5, 5});
        std::vector<std::string> shown;
        while (P().State() != S::FinProg && shown.size() < 5) {
            shown.push_back(Shown());
            NextPageAfter(6);
        }
        EXPECT_EQ(shown, c.shown) << "FirstPage " << c.firstPage << " AutoLoop " << c.autoLoop;
    }
}

TEST_F(PlayerTest, WithoutWaitCompleteThePagesTimeAloneDecides) {
    show.WaitComplete = false;
    Start({10, 10});
    EXPECT_EQ(Run({2.1}), "NAVIGATE");
}

TEST_F(PlayerTest, PageThatFailedIsSkippedAtItsTurnAndLeavesNoSecondPicture) {
    Start({5, 5, 5});
    NextPageAfter(3);
    ASSERT_EQ(Shown(), Url(1));
    P().LoadFailed(P().NextBrowser());  // page 2 cannot be loaded
    w.calls.clear();
    Tick(6);
    EXPECT_EQ(w.snapshots, 2);  // page 1's time ended all the same
    // Its error page never comes on show: page 1 stays a whole turn more, page 3 preloads.
    EXPECT_EQ(Shown(), Url(1));
    EXPECT_EQ(P().Browser(P().NextBrowser()).address, Url(3));
    EXPECT_EQ(Run({4.9}), "WAITTIME");
    EXPECT_EQ(w.Count("SnapshotPassed"), 0);
    NextPageAfter(0.2);
    EXPECT_EQ(Shown(), Url(3));
    EXPECT_EQ(w.Count("SnapshotPassed"), 1);  // page 2's number: no second picture of page 1
}

struct WarningLog final : LogSink {
    std::vector<std::string> lines;
    WarningLog() { SetLogSink(this); }
    ~WarningLog() override { SetLogSink(nullptr); }
    bool Enabled(LogArea) const override { return false; }
    void Write(LogArea, std::string_view) override {}
    void Warn(LogArea, std::string_view line) override { lines.emplace_back(line); }
};

// A kiosk left offline for weeks must not fill its log with the same line.
TEST_F(PlayerTest, PagesThatCannotBeLoadedAreSaidOnceAndSoIsAShowOfNone) {
    WarningLog log;
    Start({5, 5});
    for (int turn = 0; turn < 3; ++turn) {  // pages 1, 2, then 1 again
        P().LoadFailed(P().NextBrowser());
        Tick(3);
    }
    const std::string skipped = "page skipped, it cannot be loaded: ";
    EXPECT_EQ(log.lines, (std::vector<std::string>{skipped + Url(1), skipped + Url(2),
                                                   "no page of the presentation can be loaded"}));
    NextPageAfter(3);  // page 2 loads
    ASSERT_EQ(Shown(), Url(2));
    P().LoadFailed(P().NextBrowser());
    Tick(6);
    EXPECT_EQ(log.lines.size(), 3u);  // page 1 is still the one known to fail
}

TEST_F(PlayerTest, PlayCommandsInBothModes) {
    machine.ScreenSaveActive = false;
    w.toolRunCount = 1;  // yet Tool Run stays hidden under OnMouseMove 1
    Start({5, 5, 5, 5});
    NextPageAfter(3);
    NextPageAfter(6);
    ASSERT_EQ(Shown(), Url(2));
    // Previous brings the preloaded page 3 while page 2 preloads again; Next needs no wait.
    EXPECT_EQ(After(&Player::CmdPrevious), Url(3));
    EXPECT_EQ(After(&Player::CmdPrevious), Url(2));
    EXPECT_EQ(After(&Player::CmdNext), Url(1));

    // Paused or navigating, the counter stays; Play resumes, or returns to INIT.
    for (bool navigation : {false, true}) {
        if (navigation) P().SwitchToNavigation();
        const std::int32_t counter = show.CurrentPage;
        P().CmdPause();  // nothing more in navigation mode
        P().CmdNext();
        P().CmdPrevious();
        EXPECT_EQ(Run({1000}), navigation ? "WAITSAVER nav" : "WAITSAVER");
        EXPECT_EQ(show.CurrentPage, counter);
        P().CmdPlay();
        EXPECT_EQ(P().State(), navigation ? S::Init : S::Navigate);
    }
    EXPECT_FALSE(P().NavigationMode());
    EXPECT_LT(w.cursorCounter, -5);  // and with it the cursor
}

}  // namespace
}  // namespace pagelark::testing

#include <cmath>
#include <limits>

#include "core/clock_alignment.h"
#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using std::chrono::seconds;

// A cycle start: 2026-03-01 12:00 UTC, a whole number of 3, 9 and 10 second cycles.
constexpr double kT = 1772366400.0;

TEST(ClockAlignment, PageOnShowAndNextChangeFollowTheClockAlone) {
    const auto all = [](int, double) { return true; };
    const auto notTwo = [](int position, double) { return position != 2; };
    const auto onlyOne = [](int position, double) { return position == 1; };
    const auto none = [](int, double) { return false; };
    const std::vector<seconds> k352{seconds{3}, seconds{5}, seconds{2}};
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    struct Row {
        std::vector<seconds> times;
        double at;
        DueAt due;
        std::optional<AlignedShowing> showing;
    };
    const std::vector<Row> rows = {
        {k352, kT, all, AlignedShowing{1, kT, kT + 3}},
        {k352, kT + 2.999, all, AlignedShowing{1, kT, kT + 3}},
        {k352, kT + 3, all, AlignedShowing{2, kT + 3, kT + 8}},
        {k352, kT + 9.5, all, AlignedShowing{3, kT + 8, kT + 10}},
        {k352, kT - 0.001, all, AlignedShowing{3, kT - 2, kT}},
        // A page not due gives its slot to the next due one, past the last page too.
        {k352, kT + 4, notTwo, AlignedShowing{3, kT + 3, kT + 10}},
        {k352, kT + 4, onlyOne, AlignedShowing{1, kT + 3, kT + 13}},
        {k352, kT + 4, none, std::nullopt},
        // A page of 0 seconds has no slot.
        {{seconds{3}, seconds{0}, seconds{7}}, kT + 3, all, AlignedShowing{3, kT + 3, kT + 10}},
        {{seconds{0}, seconds{10}}, kT + 1, onlyOne, std::nullopt},
        {{seconds{0}, seconds{0}}, kT, all, std::nullopt},
        {{}, kT, all, std::nullopt},
        {{seconds{9}}, kT + 8.5, all, AlignedShowing{1, kT, kT + 9}},
        // Long cycles, and instants before 1970 or none at all.
        {{seconds{1'000'000'000}, seconds{1'000'000'000}}, kT, all, AlignedShowing{2, 1e9, 2e9}},
        {{seconds{kMax}}, kT, all, AlignedShowing{1, 0, static_cast<double>(kMax)}},
        {k352, -1, all, AlignedShowing{3, -2, 0}},
        {{seconds{3}}, std::nan(""), all, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(AlignedAt(row.times, row.at, row.due), row.showing)
            << row.times.size() << " pages at " << row.at - kT;
}

class AlignedPlayerTest : public PlayerTest {
  protected:
    // A fresh player started `offset` seconds into a cycle of these pages, FirstPage 3.
    void StartAt(double offset, std::initializer_list<int> times = {3, 3, 3}) {
        player.reset();
        w.now = DateTimeValue(2026, 3, 1, 12, 0);
        show.ClockAligned = true;
        show.FirstPage = 3;
        SetPages(times);
        w.Advance(offset);
        Begin();
    }
};

// After a (re)start the page due comes first, whatever FirstPage says; a late page comes on
// show once loaded and the next change keeps its moment; a page that fails leaves its slot to
// the page on show.
TEST_F(AlignedPlayerTest, StartedMidCycleThePageDueComesAndChangesKeepTheirMoments) {
    StartAt(4);
    EXPECT_EQ(Walk("? done 0 1"), "WAITTIME h/2, WAITTIME 2/3, WAITTIME 2/3");
    ASSERT_TRUE(P().SecondsToAlignedChange());
    EXPECT_NEAR(*P().SecondsToAlignedChange(), 1.0, 0.01);
    EXPECT_EQ(Walk("1 0.5 done 0 2.4 done 0.1"),
              "WAITTIME 2/3, WAITTIME 2/3, WAITTIME 3/1, WAITTIME 3/1, WAITTIME 1/2");
    EXPECT_EQ(Walk("fail 3 2.9 done 0.1", {"Navigate"}),
              "WAITTIME 1/3 Navigate 2 http://site/3, WAITTIME 1/3, WAITTIME 3/1 Navigate 0 "
              "http://site/1");
    EXPECT_EQ(Remote(Command::Next), "the pages follow the clock");
    // With too little of its time left to load, or loaded that late, the page due waits for
    // its next turn.
    StartAt(5);
    EXPECT_EQ(Walk("? done 0 0.9 done 0.1 3 1.6 done 0 done 1.4"),
              "WAITTIME h/3, WAITTIME h/3, WAITTIME h/3, WAITTIME 3/1, WAITTIME 3/1, WAITTIME 3/1, "
              "WAITTIME 3/2, WAITTIME 2/3");
    // Five-second pages: one loaded with 1.9 s of its time left comes on show as it loads,
    // before the next tick would leave it less than 1.5 s.
    StartAt(0, {5, 5, 5});
    EXPECT_EQ(Walk("done 0 8.1 done ? 0.3"),
              "WAITTIME 1/2, WAITTIME 1/2, WAITTIME 2/3, WAITTIME 2/3");
}

// With every page failing the offline page comes on show at a page's moment, and behind it each
// page is tried for its own: the first that loads comes on show at its moment, in step.
TEST_F(AlignedPlayerTest, OfflineThePagesAreTriedForTheirMoments) {
    StartAt(0, {3, 3, 3});
    EXPECT_EQ(Walk("done 0 3 fail 1 2 fail 1 2 fail 1 2 done 1 2 fail 1 2 done 1 2", {"Front"}),
              "WAITTIME 1/2 Front 2, WAITTIME 1/2, WAITTIME 1/3, WAITTIME 1/3, WAITTIME 1/1, "
              "WAITTIME 1/1, WAITTIME 1/offline, WAITTIME 1/offline, WAITTIME offline/3 Front 0, "
              "WAITTIME offline/3, WAITTIME offline/1, WAITTIME offline/1, WAITTIME 1/2 Front 1, "
              "WAITTIME 1/2");
}

// A clock set forwards or back brings the page due then, without waiting for the old moment.
TEST_F(AlignedPlayerTest, ClockJumpsBringThePageDueThen) {
    StartAt(0.5);
    Walk("done 0 done 0");
    // An hour on is a whole number of cycles on: page 1 again, but for another moment.
    EXPECT_EQ(Walk("3600 done 0"), "WAITTIME 1/1, WAITTIME 1/2");
    EXPECT_EQ(Walk("back 3 done 0"), "WAITTIME 1/2, WAITTIME 2/3");
    EXPECT_EQ(Walk("86400.5 done 0"), "WAITTIME 2/2, WAITTIME 2/3");
}

// Pause and a visitor hold the show; back in play, the page due now comes.
TEST_F(AlignedPlayerTest, BackFromPauseOrAVisitorThePageDueComes) {
    machine.ScreenSaveTimeOut = seconds{30};
    StartAt(0.5);
    Walk("done 0 done 0");
    EXPECT_EQ(Walk("pause 6.5 play 0 done 0 0.1 pause play 0"),
              "WAITSAVER 1/2, NAVIGATE 1/3, WAITTIME 3/1, WAITTIME 3/1, WAITTIME 3/1");
    EXPECT_EQ(Walk("nav 39 0 done 0"), "INIT 3/1, NAVIGATE 3/1, WAITTIME 1/2");
}

// A show handed over while the clock decides (the window's OK, a managed change, a new
// version at the page boundary) plays by its own times and hours from then on: page 1 holds
// 6 seconds, page 2 out of its hours leaves its slot to page 3, and a page 4 follows.
TEST_F(AlignedPlayerTest, AShowHandedOverPlaysByItsOwnTimesAndHours) {
    for (const auto& [change, trace] : {
             std::pair{ShowChange::Now,
                       "WAITTIME 1/1 Navigate 0 http://site/1, WAITTIME 1/3 "
                       "Navigate 1 http://site/3, WAITTIME 1/3, WAITTIME 1/3, "
                       "WAITTIME 3/4 Navigate 2 http://site/4, WAITTIME 3/4, "
                       "WAITTIME 4/1"},
             std::pair{
                 ShowChange::NewVersion,
                 "WAITTIME 1/2, WAITTIME 1/2, NAVIGATE 1/1 Navigate 0 http://site/1, WAITTIME "
                 "1/3 Navigate 1 http://site/3, WAITTIME 1/3, WAITTIME 3/4 Navigate 2 "
                 "http://site/4, WAITTIME 3/4"},
         }) {
        StartAt(0.5);
        Walk("done 0 done 0");
        Show next = P().Playing();
        next.presentation.Pages[0].Time = seconds{6};
        next.presentation.Pages[1].Days = "Mon";
        next.presentation.Pages.push_back({Url(4), false, seconds{3}});
        P().TakeShow(next, change);
        EXPECT_EQ(Walk("0 done 0 3 done 0 3 done 3 3", {"Navigate"}), trace);
    }
}

}  // namespace
}  // namespace pagelark::testing

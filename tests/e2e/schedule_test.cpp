// Pages for a time of day end to end: the kiosk in UTC, windows from the test's own clock.

#include <ctime>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

const std::vector<std::string> kUtc{"TZ=UTC0"};

// A window that is not now: it opens in two hours and closes in three.
std::string Later() {
    return "From=" + MinuteAhead(120, true) + "\nTo=" + MinuteAhead(180, true);
}

// Green, out of its window, is never asked for nor shown; yellow's mistyped keys play it all
// day, logged; a page of a scheme the kiosk does not load is passed over as failed.
TEST_F(KioskTest, APageOutOfItsWindowNeverReachesTheScreen) {
    Process& kiosk =
        Start("[Tessaro]\nDefaultTime=2\nOnMouseMove=0\n" +
                  Pages({"/red", "/green\n" + Later(), "/yellow\nDays=Funday\nFrom=25:99"}) +
                  "[Page4]\nURL=htps://typo/\n",
              kUtc);
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "page 1 never came on show";
    ASSERT_TRUE(Comes(kYellow.rgb, kPatience)) << "page 3 never came on show";
    EXPECT_EQ(Stray(12s, {kRed, kYellow}), "") << "a page other than red and yellow";
    EXPECT_FALSE(server_.Requested("/green"));
    EXPECT_TRUE(Says(kiosk,
                     "show.tso page 3: Days cannot be \"Funday\", the page plays every day; "
                     "From cannot be \"25:99\", the page plays all day"));
    EXPECT_TRUE(Says(kiosk, "page skipped, it cannot be loaded: htps://typo/"));
}

// With no page due the program's black idle page (no include list need name it) stands in for
// one it cannot load, until the page due at the next minute comes.
TEST_F(KioskTest, WithNoPageDueTheIdlePageShowsUntilAPageIs) {
    // The next whole minute, or the one after if half over: the idle page must show first.
    const int opens = std::time(nullptr) % 60 < 30 ? 1 : 2;
    Process& typo = Start(
        "[Tessaro]\nLocked=Yes\nOnMouseMove=0\nDefaultTime=5\nIdlePage=htps://x/\n" +
            Pages({"/red\nFrom=" + MinuteAhead(opens, true) + "\nTo=" + MinuteAhead(30, true)}) +
            "[Include1]\nURL={server}/\n",
        kUtc);
    ASSERT_TRUE(Comes(kShade, kStartUp)) << "the black idle page never came on show";
    EXPECT_TRUE(Says(typo,
                     "IdlePage \"htps://x/\" cannot be shown (the kiosk does not load "
                     "\"htps:\" addresses); a black page stands in"));
    EXPECT_TRUE(Comes(kRed.rgb, 150s)) << "the page due at the next minute never came on show";
}

}  // namespace
}  // namespace pagelark::e2e

// Pages for a time of day, end to end: the kiosk runs in UTC, and the windows are written from
// the test's own reading of the clock.

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

// Green is out of its window: it is never asked for and never on show while red and yellow
// play. Yellow's keys were typed wrong: it plays all day, every day, and the log says so. A
// page of a scheme the kiosk does not load is passed over as a page that failed.
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

// With no page due the idle page shows: the owner's, or the program's black one, which a locked
// kiosk's include list need not name and which stands in for an idle page that cannot load. The
// page whose window opens at the next minute then comes on show.
TEST_F(KioskTest, WithNoPageDueTheIdlePageShowsUntilAPageIs) {
    Process& owners = Start("[Tessaro]\nIdlePage={server}/magenta\nOnMouseMove=0\n" +
                                Pages({"/red\n" + Later(), "/green\n" + Later()}),
                            kUtc);
    ASSERT_TRUE(Comes(kMagenta.rgb, kStartUp)) << "the owner's idle page never came on show";
    EXPECT_TRUE(Shows(kMagenta.rgb, 5s)) << "the idle page gave way";
    EXPECT_FALSE(server_.Requested("/red") || server_.Requested("/green"));
    owners.Stop();

    // The next whole minute, or the one after when this one is half over: the idle page must
    // come on show first.
    const int opens = std::time(nullptr) % 60 < 30 ? 1 : 2;
    // An idle page the kiosk does not load: the black one stands in at once.
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

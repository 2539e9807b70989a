// A long page with Scroll, end to end: it moves to its foot over its time and is at its top
// again when it next comes on show, though its browser kept it loaded between its turns.

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

// Three screens of the page's own colour, then a foot of green.
constexpr const char* kLong =
    "<div style=\"height:300vh\"></div>"
    "<div style=\"height:100vh;background:#00ff00\"></div>";

TEST_F(KioskTest, ALongPageEndsItsTimeAtItsFootAndComesBackAtItsTop) {
    server_.AddPage("/long", kLong);
    Start("[Tessaro]\nDefaultTime=2\nOnMouseMove=0\n" +
          Pages({"/long?color=red\nScroll=Yes\nDefaultTime=False\nTime=6", "/blue", "/yellow"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "the long page never came on show";
    const auto runs = Runs(RecordColors(22s));
    std::string seen = "seen:";
    for (const ColorRun& run : runs)
        seen += " " + run.name;
    // Its foot, and only then the next page; after the last page, its top.
    std::vector<std::string> turns;
    for (const ColorRun& run : runs)
        if (!run.name.starts_with("#")) turns.push_back(run.name);
    const auto blue = std::ranges::find(turns, "blue");
    ASSERT_NE(blue, turns.end()) << seen;
    ASSERT_NE(blue, turns.begin()) << seen;
    EXPECT_EQ(*(blue - 1), "green") << seen;
    const auto yellow = std::ranges::find(blue, turns.end(), "yellow");
    ASSERT_LT(yellow + 1, turns.end()) << seen;
    EXPECT_EQ(*(yellow + 1), "red") << seen;
    // Kept in its browser between its turns: its top came back by the stage's own doing.
    EXPECT_EQ(server_.Answered("/long?color=red", 200), 1) << seen;
}

}  // namespace
}  // namespace pagelark::e2e

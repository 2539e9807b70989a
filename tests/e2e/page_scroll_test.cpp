// A long page with Scroll, end to end: it moves to its foot over its time and is at its top
// again when it next comes on show, though its browser kept it loaded between its turns.

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

TEST_F(KioskTest, ALongPageEndsItsTimeAtItsFootAndComesBackAtItsTop) {
    // Three screens of the page's own colour, then a foot of green.
    server_.AddPage("/long",
                    "<div style=\"height:300vh\"></div>"
                    "<div style=\"height:100vh;background:#00ff00\"></div>");
    Start("[Tessaro]\nDefaultTime=2\nOnMouseMove=0\n" +
          Pages({"/long?color=red\nScroll=Yes\nDefaultTime=False\nTime=6", "/blue", "/yellow"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "the long page never came on show";
    // The pages as they came on show: its foot before the next page, its top after the last.
    std::string seen;
    for (const ColorRun& run : Runs(RecordColors(22s)))
        if (!run.name.starts_with("#")) seen += run.name + " ";
    EXPECT_TRUE(seen.starts_with("red green blue yellow red ")) << seen;
    // Kept in its browser between its turns: its top came back by the stage's own doing.
    EXPECT_EQ(server_.Answered("/long?color=red", 200), 1) << seen;
}

}  // namespace
}  // namespace pagelark::e2e

// The floating tool bars end to end: where they stand, what their buttons and address box
// do, and their help tips.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

class ToolbarTest : public KioskTest {
  protected:
    // place: where the row ends on the right (x) and begins at the top (y).
    static Point ButtonCentre(int count, int index, Point place = {Xvfb::kWidth, 0}) {
        return {ButtonLeft(count, index, place.x) + kButton / 2, place.y + kButton / 2};
    }
    // A row of count buttons near the top right corner, below a caption bar or not.
    std::optional<Point> FindRow(int count) const {
        for (int top = 0; top <= 60; ++top)
            for (int right = Xvfb::kWidth; right >= Xvfb::kWidth - 8; --right)
                if (RowFaults(count, right, top, true).empty()) return Point{right, top};
        return std::nullopt;
    }

    bool ShowsColor(Point at, Rgb color) const { return Near(screen_.Pixel(at.x, at.y), color); }

    std::string Seen(Point at) const {
        return "seen " + ToHex(screen_.Pixel(at.x, at.y)) + " at " + std::to_string(at.x) + "," +
               std::to_string(at.y);
    }
};

TEST_F(ToolbarTest, UnderAWindowManagerToolRunStaysOverTheShowShowsTipsAndTurnsThePage) {
    SpawnOptions options;
    options.argv = {"openbox"};
    options.environment = xvfb_.Environment();
    Process windowManager(options);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return RunCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, xvfb_.Environment())
                       .output.find("window id") != std::string::npos;
        },
        kPatience))
        << "the window manager never started";

    // Two pages of a minute each: only a button turns the page this soon.
    Kiosk& kiosk = Start("[Tessaro]\nDefaultTime=60\nOnMouseMove=0\n" + Pages({"/red", "/green"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "page 1 never came on show";
    std::optional<Point> row;
    ASSERT_TRUE(WaitUntil([&] { return (row = FindRow(8)).has_value(); }, kPatience))
        << "no Tool Run over the full-screen show";
    // Under its caption bar, its frame wholly on the screen and in the corner.
    EXPECT_GT(row->y, 0);
    EXPECT_LT(row->x, Xvfb::kWidth);
    // Still there once the show has settled in full screen.
    std::this_thread::sleep_for(3s);
    EXPECT_EQ(RowFaults(8, row->x, row->y), "");

    const Point next = ButtonCentre(8, 3, *row);
    // The tip hangs 18 px below the pointer and starts 2 px left of it.
    const Point inTip{next.x - 2 + 5, next.y + 18 + 5}, leftOfTip{next.x - 3, inTip.y};
    ASSERT_TRUE(ShowsColor(inTip, kRed.rgb)) << "a tip before the pointer came: " << Seen(inTip);
    MoveTo(next);
    EXPECT_TRUE(WaitUntil([&] { return !ShowsColor(inTip, kRed.rgb); }, 10s))
        << "no tip under the pointer: " << Seen(inTip);
    EXPECT_TRUE(ShowsColor(leftOfTip, kRed.rgb)) << "the tip is out of place: " << Seen(leftOfTip);
    MoveTo({300, 500});
    EXPECT_TRUE(WaitUntil([&] { return ShowsColor(inTip, kRed.rgb); }, 10s))
        << "the tip stayed after the pointer left the bar: " << Seen(inTip);
    MoveTo(next);
    Click();
    EXPECT_TRUE(Comes(kGreen.rgb, 15s)) << "Next did not turn the page";
    EXPECT_TRUE(kiosk.Running());
}

// A local page of the show, then typed addresses and pages of the server whose scripts try to
// leave the include list.
TEST_F(ToolbarTest, NoScriptReadsAnotherLocalFileOrLeavesTheIncludeListAndTypedScriptsRunNot) {
    const std::string secret = folders_.Write("private/secret.txt", "top secret");
    // Yellow while it tries to read the file, then magenta when it could, green when not.
    const std::string page =
        folders_.Write("local.html",
                       "<body style=\"margin:0;height:100vh;background:#ffff00\"><script>"
                       "var read = false, x = new XMLHttpRequest();"
                       "try { x.open('GET', 'file://" +
                           secret +
                           "', false); x.send();"
                           " read = x.responseText.indexOf('top secret') >= 0; } catch (e) {}"
                           "document.body.style.background = read ? '#ff00ff' : '#00ff00';"
                           "if (read) new Image().src = '" +
                           server_.Url("/leak?") +
                           "' + x.responseText;"
                           "addEventListener('click', function () { location.href = '" +
                           server_.Url("/outside/magenta") + "'; });</script></body>");
    // A mouse move brings navigation mode, which lasts five minutes of idleness.
    Start("[Tessaro]\nDefaultTime=60\nOnMouseMove=1\nScreenSaveTimeOut=300\n[Page1]\nURL=" + page +
          "\n[Include1]\nURL=file://" + page +
          "\n[Include2]\nURL={server}/go\n[Include3]\nURL={server}/jslink\n");
    ASSERT_TRUE(WaitForCentre(
        [](Rgb seen) { return Near(seen, kGreen.rgb) || Near(seen, kMagenta.rgb); }, kStartUp))
        << "the local page never came on show: " << ToHex(screen_.Centre());
    EXPECT_TRUE(Near(screen_.Centre(), kGreen.rgb)) << "the local page read another file";
    ASSERT_TRUE(EnterNavigationMode()) << RowFaults(9);
    Click();
    EXPECT_FALSE(server_.Requested("/outside", 5s)) << "the local page's script went outside";
    EXPECT_TRUE(CentreShows(kGreen.rgb));

    EnterAddress("javascript:document.body.style.background='#ff00ff';new Image().src='" +
                 server_.Url("/leak") + "'");
    EnterAddress("data:text/html,<body style=background:#ff00ff>");
    // The help folder passes the include list, but a folder that only starts like it does not.
    EnterAddress("file://" + folders_.Write("tmp/PagelarkEvil/page.html",
                                            "<body style=\"background:#ff00ff\"></body>"));
    EXPECT_FALSE(server_.Requested("/leak", 5s)) << "a typed script ran or a file was read";
    EXPECT_TRUE(CentreShows(kGreen.rgb));
    // The page's own script makes a page of its own and goes there.
    EnterAddress(server_.Url("/go?color=red&to=blob"));
    ASSERT_TRUE(Comes(kRed.rgb, kPatience)) << "the script page did not load";
    MoveTo({600, 450});
    Click();
    EXPECT_TRUE(CentreShows(kRed.rgb, 3s));

    // The page's own "javascript:" link runs, but cannot take it outside the list.
    EnterAddress(server_.Url("/jslink?color=yellow&to=/outside/magenta"));
    ASSERT_TRUE(Comes(kYellow.rgb, kPatience)) << "the link page did not load";
    MoveTo({600, 450});
    Click();
    EXPECT_FALSE(server_.Requested("/outside", 5s)) << "a script link went outside";
    EnterAddress(server_.Url("/go?color=green&to=data:text/html,<b style=color:%23ff00ff>x"));
    ASSERT_TRUE(Comes(kGreen.rgb, kPatience)) << "the script page did not load";
    MoveTo({600, 450});
    Click();
    EXPECT_TRUE(CentreShows(kGreen.rgb, 3s));
}

}  // namespace
}  // namespace pagelark::e2e

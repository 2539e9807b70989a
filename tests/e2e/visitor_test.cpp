// The visitor, in navigation mode and on the show's own pages: the on-screen keyboard comes for
// their text entry only, nothing they leave in the browsers reaches the next visitor, and a page
// they took elsewhere comes back at its turn.

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""ms;
using std::chrono_literals::operator""s;

// A field near the top with the focus from the start, that tells the server of each event and
// of the page's height whenever it changes.
constexpr const char* kField =
    "<input autofocus style='position:absolute;left:100px;top:100px;width:400px;height:40px'"
    " onfocus=\"fetch('/focused')\" onclick=\"fetch('/clicked')\" oninput=\"fetch('/typed-' + "
    "this.value)\"><script>onresize = function () { fetch('/height-' + innerHeight); };</script>";
// Qt Virtual Keyboard's English layout, read once from a screenshot: the centres of q and w,
// a point of the space bar, whose grey neither the page nor the root window has, and the top
// of its keys.
constexpr Point kKeyQ{53, 496}, kKeyW{155, 496}, kSpaceBar{512, 740};
constexpr Rgb kSpaceBarGrey{0x4f, 0x5b, 0x62};
constexpr int kKeysTop = 448;

// The window of ours under a point of the screen (with no window manager, a child of the root).
std::string WindowAt(const Desk& desk, Point at) {
    desk.MoveTo(at);
    const std::string location = desk.Xdotool({"getmouselocation", "--shell"});
    const std::size_t window = location.find("WINDOW=");
    return window == std::string::npos
               ? ""
               : location.substr(window, location.find('\n', window) - window);
}

TEST_F(KioskTest, OnScreenKeyboardComesForTextEntryInNavigationModeOnly) {
    server_.AddPage("/field", kField);
    Start("[Tessaro]\nDefaultTime=600\nOnMouseMove=1\nOnScreenKeyboard=True\n" +
          Pages({"/field?color=blue"}) + "[Exclude1]\nURL={server}/blocked\n");
    ASSERT_TRUE(WaitUntilKioskShows());
    ASSERT_TRUE(Comes(kBlue.rgb, kStartUp));
    ASSERT_TRUE(server_.Requested("/focused", kPatience));
    // The keyboard would come within moments of the focus.
    for (int sample = 0; sample < 40; ++sample)
        ASSERT_TRUE(Shows(kBlue.rgb, 100ms, kSpaceBar)) << "sample " << sample;

    ASSERT_TRUE(EnterNavigationMode());
    ClickAt(kAddressBox);
    ASSERT_TRUE(Comes(kSpaceBarGrey, kPatience, kSpaceBar));
    // Drawn in the show's own window, which no compositor need place, and the browsers end
    // above it (one pixel beyond each edge of the window's part left free).
    EXPECT_EQ(WindowAt(*this, kSpaceBar), WindowAt(*this, {kCentre.x, 300}));
    EXPECT_TRUE(server_.Requested("/height-" + std::to_string(kKeysTop + 3), kPatience));
    // Its selected address once had the keyboard's selection handles below it, black squares.
    for (int x = kAddressBox.x - 230; x < Xvfb::kWidth; x += 10)
        EXPECT_TRUE(Shows(kBlue.rgb, x == kAddressBox.x - 230 ? 1s : 0ms, {x, kAddressBox.y + 29}));
    ClickAt({300, 120});
    ASSERT_TRUE(server_.Requested("/clicked", kPatience));
    ASSERT_TRUE(Comes(kSpaceBarGrey, kPatience, kSpaceBar));
    ClickAt(kKeyQ);
    ASSERT_TRUE(server_.Requested("/typed-q", kPatience));
    ClickAt(kKeyW);
    EXPECT_TRUE(server_.Requested("/typed-qw", kPatience));
    // A refused address typed with the keyboard up: its notice in sight above the keyboard.
    EnterAddress(server_.Url("/blocked"));
    const auto above = [&] {
        for (int y = 120; y < kKeyQ.y - 40; y += 12)
            if (Near(Pixel({kCentre.x, y}), {0x30, 0x30, 0x30})) return true;
        return false;
    };
    EXPECT_TRUE(WaitUntil(above, kPatience, Millis(5)));
}

// A cookie, a local storage item and a database record; then a request for the target.
constexpr const char* kLeave =
    "<script>document.cookie = 'v=1; max-age=3600'; localStorage.setItem('v', '1');"
    "var open = indexedDB.open('v', 1);"
    "open.onupgradeneeded = function () { open.result.createObjectStore('s'); };"
    "open.onsuccess = function () { var t = open.result.transaction('s', 'readwrite');"
    " t.objectStore('s').put(1, 'v'); t.oncomplete = function () { fetch('{to}'); }; };"
    "</script>";
// Asks for the target followed by one digit for each of the three found (1) or not (0).
constexpr const char* kLook =
    "<script>var found = (document.cookie.indexOf('v=1') >= 0 ? '1' : '0') +"
    " (localStorage.getItem('v') ? '1' : '0');"
    "var open = indexedDB.open('v', 1);"
    "open.onupgradeneeded = function () { open.result.createObjectStore('s'); };"
    "open.onsuccess = function () { var get = open.result.transaction('s').objectStore('s')"
    ".get('v'); get.onsuccess = function () { fetch('{to}' + found + (get.result ? '1' : '0'));"
    " }; };</script>";

TEST_F(KioskTest, NothingOfAVisitorReachesTheNextUnlessTheOwnerKeepsIt) {
    server_.AddPage("/leave", kLeave);
    server_.AddPage("/look", kLook);
    for (const bool keep : {false, true}) {
        const std::string round = keep ? "kept" : "cleared";
        MoveTo(kPointerRest);  // where play starts counts as nobody there
        // The owner's choice comes from the machine's settings store, as a managed machine has it.
        if (keep) MachineSettings("\"ClearVisitorData\"=\"No\"\n");
        Process& kiosk = Start("[Tessaro]\nDefaultTime=3\nOnMouseMove=1\nScreenSaveTimeOut=3\n" +
                               Pages({"/red", "/green"}));
        ASSERT_TRUE(WaitUntilKioskShows()) << round;
        ASSERT_TRUE(EnterNavigationMode()) << round;
        EnterAddress(server_.Url("/leave?color=blue&to=/left-" + round));
        ASSERT_TRUE(server_.Requested("/left-" + round, kPatience)) << round;
        ASSERT_TRUE(Comes(kBlue.rgb, kPatience)) << round;
        // The idle time runs out: the visitor's page stays until a show page replaces it.
        MoveTo(kPointerRest);
        EXPECT_EQ(Stray(12s, {kBlue, kRed, kGreen}), "") << round << ": came on show";
        ASSERT_TRUE(Leaves(kBlue.rgb)) << round << ": the show never came back";
        ASSERT_TRUE(EnterNavigationMode()) << round;
        EnterAddress(server_.Url("/look?color=blue&to=/found-" + round + "-"));
        EXPECT_TRUE(server_.Requested("/found-" + round + (keep ? "-111" : "-000"), kPatience))
            << round;
        kiosk.Stop();
    }
}

// Asks for "/found-" and a digit for each of a cookie and a local storage item found (1) or not
// (0); a click leaves both and follows a link to the target.
constexpr const char* kMark =
    "<script>fetch('/found-' + (document.cookie.indexOf('v=1') >= 0 ? '1' : '0') +"
    " (localStorage.getItem('v') ? '1' : '0'));"
    "addEventListener('click', function () { document.cookie = 'v=1; max-age=3600';"
    " localStorage.setItem('v', '1'); location.href = '{to}'; });</script>";

// A click the address lists refuse leaves the page on show and says why for a few seconds.
TEST_F(KioskTest, ARefusedClickKeepsThePageAndSaysWhyForAFewSeconds) {
    Start("[Tessaro]\nOnMouseMove=0\n" +
          Pages({"/later?color=red&to=about:blank\nDefaultTime=False\nTime=12",
                 "/blank?color=blue&to=/blocked/green\nDefaultTime=False\nTime=60"}) +
          "[Include1]\nURL={server}/\n[Exclude1]\nURL={server}/blocked\n");
    // In the notice's top margin, above its text.
    constexpr Point kNotice{kCentre.x, Xvfb::kHeight * 3 / 4 - 22};
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));
    // A page that moves itself out is sent back with no word to a passer-by.
    EXPECT_FALSE(Comes({0x30, 0x30, 0x30}, 10s, kNotice)) << "a notice for a page's own move";
    ASSERT_TRUE(Comes(kBlue.rgb, kPatience));
    EXPECT_TRUE(Shows(kBlue.rgb, 1s, kNotice)) << "a notice with nothing refused";
    ClickAt({300, 300});
    EXPECT_TRUE(Comes({0x30, 0x30, 0x30}, kPatience, kNotice)) << "no notice";
    EXPECT_TRUE(Comes(kBlue.rgb, kPatience, kNotice)) << "the notice stayed";
    EXPECT_TRUE(Shows(kBlue.rgb)) << "the page on show left";
    EXPECT_FALSE(server_.Requested("/blocked"));
}

// Without navigation mode a click on a show page takes its browser elsewhere: the page comes
// back at its next turn, and what the visitor left is gone once the idle time passed.
TEST_F(KioskTest, AShowPageAVisitorTookElsewhereComesBackWithNothingOfThem) {
    server_.AddPage("/mark", kMark);
    MoveTo(kPointerRest);
    Start("[Tessaro]\nDefaultTime=6\nOnMouseMove=0\nScreenSaveTimeOut=3\n" +
          Pages({"/mark?color=red&to=/yellow", "/green", "/blue"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));
    ASSERT_TRUE(server_.Requested("/found-00", kPatience));
    ClickAt({600, 450});
    ASSERT_TRUE(Comes(kYellow.rgb, kPatience)) << "the click went nowhere";
    ASSERT_TRUE(Comes(kBlue.rgb, kPatience));
    ASSERT_TRUE(Leaves(kBlue.rgb));
    EXPECT_TRUE(Shows(kRed.rgb)) << "page 1 did not come back";
    const auto found = [this](const char* what) { return server_.Answered(what, 404); };
    EXPECT_EQ(found("/found-00"), 2) << "page 1 was not loaded again in a fresh profile";
    EXPECT_EQ(found("/found-11"), 0) << "the next visitor found the cookie and the item";
}

// Locked, the visitor's data kept: a page changed at its own address (a new entry in its
// history, no new address) comes back as it was at its turn, and going back from a page
// reaches nothing its browser held before it (the start page the browsers began with).
TEST_F(KioskTest, APageChangedInPlaceComesBackAsItWasAndBackReachesNothingBeforeIt) {
    MoveTo(kPointerRest);
    Start(
        "[Tessaro]\nLocked=Yes\nDefaultTime=5\nOnMouseMove=0\nClearVisitorData=No\n"
        "[Include1]\nURL={server}/\n" +
        Pages({"/pushed?color=red&to=yellow", "/back?color=green&to=magenta",
               "/back?color=blue&to=magenta"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));
    ClickAt({600, 450});
    ASSERT_TRUE(Comes(kYellow.rgb, kPatience)) << "the click went nowhere";
    for (const Rgb colour : {kGreen.rgb, kBlue.rgb}) {
        ASSERT_TRUE(Comes(colour, kPatience));
        ClickAt({600, 450});
        ASSERT_TRUE(Comes(kMagenta.rgb, kPatience)) << "Back reached a page held before the show's";
    }
    ASSERT_TRUE(Leaves(kMagenta.rgb));
    EXPECT_TRUE(Shows(kRed.rgb)) << "page 1 came back as the visitor left it";
}

}  // namespace
}  // namespace pagelark::e2e

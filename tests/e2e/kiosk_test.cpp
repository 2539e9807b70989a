// The kiosk program end to end: played under Xvfb, its pages served from a loopback server,
// what it shows read back from the screen.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

#include "e2e/support/kiosk_fixture.h"
#include "playlog/play_log.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""ms;
using std::chrono_literals::operator""s;

// Page times are checked loosely: the player steps every 200 ms and the machine is busy.
constexpr double kSlack = 1.5;

TEST_F(KioskTest, PlaysPagesInOrderForTheirTimesWithoutBlankFramesAndSurvivesItsRenderers) {
    Process& kiosk = Start(
        "[Tessaro]\nHomeURL=about:blank\nDefaultTime=3\nMaxTime=4\nOnMouseMove=0\nPlayLog=Yes\n" +
        Pages({"/red", "/green\nDefaultTime=False\nTime=2", "/blue"}));
    const auto shown = WaitUntilKioskShows();
    ASSERT_TRUE(shown) << "no kiosk window";
    const auto runs = Runs(RecordColors(24s));
    std::string seen = "seen:\n";
    for (const auto& run : runs)
        seen += "  " + run.name + " from " + std::to_string(SecondsBetween(*shown, run.first)) +
                "s for " + std::to_string(SecondsBetween(run.first, run.last)) + "s\n";
    std::cout << seen;

    const auto first =
        static_cast<std::size_t>(std::ranges::find(runs, "red", &ColorRun::name) - runs.begin());
    ASSERT_LT(first, runs.size()) << seen;
    for (std::size_t i = 0; i < first; ++i)
        EXPECT_TRUE(runs[i].name.starts_with("#")) << "a page before page 1\n" << seen;
    // The start page stays for its 2 s before page 1 replaces it.
    EXPECT_GE(SecondsBetween(*shown, runs[first].first), 2.0 - kSlack) << seen;

    ASSERT_GE(runs.size(), first + 4) << seen;
    const std::array<std::string, 4> expected{"red", "green", "blue", "red"};
    const std::array<double, 3> seconds{3, 2, 3};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(runs[first + i].name, expected[i]) << "every frame is a whole page\n" << seen;
    for (std::size_t i = 0; i < 3; ++i) {
        const double onShow = SecondsBetween(runs[first + i].first, runs[first + i + 1].first);
        RecordProperty(expected[i] + "_seconds", std::to_string(onShow));
        EXPECT_NEAR(onShow, seconds[i], kSlack) << expected[i] << "\n" << seen;
    }

    // Each browser's renderer in turn, whichever role it has: on show, preloading or spare.
    // A browser on show paints its page again within seconds.
    const auto renderers = ProcessesInGroup(kiosk.Pid(), "--type=renderer");
    ASSERT_FALSE(renderers.empty());
    for (pid_t pid : renderers) {
        ::kill(pid, SIGKILL);
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(ComesOneOf({kRed, kGreen, kBlue}, 8s))
            << "no page on show after a renderer died: " << ToHex(Centre());
    }
    for (pid_t pid : ProcessesInGroup(kiosk.Pid(), "--type=renderer"))
        ::kill(pid, SIGKILL);
    for (const NamedColor& page : {kBlue, kRed, kGreen, kBlue})
        EXPECT_TRUE(Comes(page.rgb, kPatience)) << page.name << " never came back";
    EXPECT_TRUE(kiosk.Running());

    // Killed outright, it leaves a play log of whole lines naming the pages it showed.
    ::kill(kiosk.Pid(), SIGKILL);
    kiosk.WaitForExit(kPatience);
    std::istringstream log(
        testing::TempFolder::Read(folders_.HomeDir() + "/.local/state/pagelark/playlog.jsonl"));
    std::set<std::string> pages;
    for (std::string line; std::getline(log, line);) {
        const auto record = ParsePlayLogLine(line);
        ASSERT_TRUE(record) << line;
        if (record->loaded) pages.insert(record->address.substr(record->address.rfind('/')));
        EXPECT_LT(record->seconds, 10.0) << line;
    }
    EXPECT_EQ(pages, (std::set<std::string>{"/red", "/green", "/blue"}));
}

TEST_F(KioskTest, OfflinePageWhileTheNetworkIsDownOutlivesASecondStartAndEscapeEndsItCleanly) {
    namespace fs = std::filesystem;
    const fs::path temp = folders_.TempDir();
    const auto reservedFiles = [&temp] {
        return std::ranges::count_if(fs::directory_iterator(temp), [](const auto& entry) {
            return entry.path().filename().string().starts_with("TMP");
        });
    };
    const std::string show =
        "[Tessaro]\nDefaultTime=2\nMaxTime=3\nOnMouseMove=0\n" + Pages({"/red", "/green"});
    Process& first = Start(show);
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "page 1 never came on show";
    EXPECT_TRUE(fs::is_directory(temp / "Pagelark"));
    EXPECT_EQ(reservedFiles(), 1);
    server_.SetDown(true);
    // While it is down every page fails, yet no error page comes on show: the last good stays
    // until each has failed, then the offline page stands in. Back, so is the show.
    EXPECT_EQ(Stray(12s, {kRed, kGreen, kOffline}), "") << "an error page came on show";
    EXPECT_TRUE(Comes(kOffline.rgb, kPatience)) << "the offline page never came on show";
    EXPECT_TRUE(Says(first, "the show is offline"));
    // The pages tried behind it stay out of sight.
    EXPECT_EQ(Stray(6s, {kOffline}), "") << "the offline page gave way to another";
    server_.SetDown(false);
    EXPECT_TRUE(ComesOneOf({kRed, kGreen}, kPatience)) << "the show never came back";
    EXPECT_TRUE(Says(first, "the show is back"));

    // A second start comes forward; one naming a presentation fails, as it is not played.
    Process& second = Run({});
    EXPECT_EQ(second.WaitForExit(10s), 0) << "a second copy kept running";
    EXPECT_TRUE(Says(second, "brought forward"));
    Process& named = Start(show);
    EXPECT_EQ(named.WaitForExit(10s), 1);
    EXPECT_TRUE(Says(named, "it keeps its presentation"));
    // A configuration request cannot be met while it runs: said, and a failure.
    Process& config = Run({"/C"});
    EXPECT_EQ(config.WaitForExit(10s), 1);
    EXPECT_TRUE(Says(config, "already running"));
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << "page 2 never loaded again";

    Key("Escape");
    EXPECT_EQ(first.WaitForExit(kPatience), 0) << "Escape did not end it";
    EXPECT_FALSE(fs::exists(temp / "Pagelark"));
    EXPECT_EQ(reservedFiles(), 0);
    // The browser engine's own console output stays off.
    for (const char* noise : {":ERROR:", "qt.webenginecontext", "Init Parameters"})
        EXPECT_EQ(first.Output().find(noise), std::string::npos) << first.Output();
}

// The starter's help pages name the folder of the run that wrote it; a later run plays them
// from its own.
TEST_F(KioskTest, StarterIsRemovedAtTheEndOnlyWhileUntouchedAndPlaysUnderAnotherRun) {
    const std::string file = folders_.HomeDir() + "/Pagelark.TSO", other = folders_.File("other");
    ASSERT_EQ(::mkdir(other.c_str(), 0700), 0);
    for (const bool saved : {false, true}) {
        Process& kiosk = Run({});
        ASSERT_TRUE(WaitUntilKioskShows()) << saved;
        ASSERT_TRUE(std::filesystem::exists(file)) << "no starter written";
        // The welcome says what a move does here.
        EXPECT_NE(KioskFolders::Read(folders_.TempDir() + "/Pagelark/index.html")
                      .find("Move the mouse to show the tool bar; press F1 for help."),
                  std::string::npos);
        // The operator's save: the same home page and pages, other options.
        const std::string text = KioskFolders::Read(file) + "[Include1]\r\nURL=http://a/\r\n";
        if (saved) folders_.Write("home/Pagelark.TSO", text);
        kiosk.Stop();
        EXPECT_EQ(kiosk.WaitForExit(kPatience), 0);
        EXPECT_EQ(std::filesystem::exists(file), saved);
        WaitForCentre([](Rgb seen) { return Near(seen, kRoot, 4); }, kPatience);
    }
    Process& next = Run({}, {"TMPDIR=" + other, "QT_LOGGING_RULES=pagelark.stage.debug=true"});
    // The stage reports each page it loaded.
    for (const char* page : {"pagelark.html#setup", "link.html", "documentation.html"})
        EXPECT_TRUE(Says(next, "page file://" + other + "/Pagelark/" + page + ": ", kStartUp))
            << page << " did not play from this run's help folder";
}

TEST_F(KioskTest, PresentationsOfNoPagesOnePageAndThousandsOfPagesPlayAndCtrlWheelZoomsNothing) {
    Process& empty = Start("[Tessaro]\nOnMouseMove=0\nMaxTime=2\n");
    const Rgb startPage{0xf4, 0xf6, 0xf8};
    ASSERT_TRUE(Comes(startPage, kStartUp)) << "the start page never showed";
    // Several rounds of the empty loop later it is still there.
    EXPECT_TRUE(Shows(startPage, 8s)) << "an empty presentation left its start page";
    EXPECT_TRUE(empty.Running()) << "an empty presentation ended";
    empty.Stop();

    // A red square from 100 to 200 on white: zoomed in, it would cover 250,250.
    const std::string square = folders_.Write(
        "square.html",
        "<body style=\"margin:0;background:#ffffff\"><div style=\"position:absolute;left:100px;"
        "top:100px;width:100px;height:100px;background:#ff0000\"></div></body>");
    Process& one = Start("[Tessaro]\nDefaultTime=1\nOnMouseMove=0\n[Page1]\nURL=" + square + "\n");
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp, {150, 150})) << "the single page never showed";
    MoveTo({500, 500});
    for (int step = 0; step < 5; ++step)
        Xdotool({"keydown", "ctrl", "click", "4", "keyup", "ctrl"});
    EXPECT_TRUE(Shows({0xff, 0xff, 0xff}, 3s, {250, 250})) << "ctrl+wheel zoomed";
    EXPECT_TRUE(one.Running()) << "a presentation of a single page ended";
    one.Stop();

    std::vector<std::string> thousands;
    for (std::size_t k = 0; k < 5000; ++k)
        thousands.push_back("/" + std::string(kPageColors[k % kPageColors.size()].name));
    Start("[Tessaro]\nDefaultTime=1\nOnMouseMove=0\n" + Pages(thousands));
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_TRUE(Comes(kPageColors[k].rgb, kStartUp))
            << "page " << k + 1 << " of 5000 never showed";
}

// One show of pages that each try something a kiosk must not allow, the last held for good.
TEST_F(KioskTest, PagesCannotOpenWindowsSaveFilesChooseFilesOpenMenusOrGetPermissions) {
    Process& kiosk =
        Start("[Tessaro]\nDefaultTime=4\nOnMouseMove=0\n" +
                  Pages({"/popups?color=purple&to=/scripted",
                         "/blank?color=orange&to=/green\nDefaultTime=False\nTime=10",
                         "/clickopen?color=red&to=/magenta\nDefaultTime=False\nTime=10",
                         "/open?color=yellow&to=/download",
                         "/file?color=cyan\nDefaultTime=False\nTime=15",
                         "/permission?color=purple\nDefaultTime=False\nTime=0"}),
              {"QT_LOGGING_RULES=pagelark.stage.debug=true"});
    // Windows a script opens by itself are never made: each one used to stay alive in the
    // page's renderer. A visitor's click on a form to a new window, or one that has a script
    // open a window, opens the address in place (a link refused by the address check is the
    // visitor tests').
    ASSERT_TRUE(ComesOneOf({kRed, kGreen}, kStartUp)) << "page 1 never came on show";
    EXPECT_TRUE(Shows(kGreen.rgb)) << "a window was made, or a frame's open was the engine's";
    ASSERT_TRUE(Comes(kOrange.rgb, kPatience)) << "page 2 never came on show";
    ClickAt({700, 300});  // a form's button
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << "the allowed window never opened";
    ASSERT_TRUE(Comes(kRed.rgb, kPatience)) << "page 3 never came on show";
    Click();
    EXPECT_TRUE(Comes(kMagenta.rgb, kPatience)) << "the window a click opened never opened";
    EXPECT_FALSE(server_.Requested("/scripted")) << "a window a script opened was followed";

    ASSERT_TRUE(Comes(kYellow.rgb, kPatience)) << "page 4 never came on show";
    EXPECT_TRUE(Shows(kYellow.rgb, 2s)) << "the download took the page's place";

    ASSERT_TRUE(Comes(kCyan.rgb, kPatience)) << "page 5 never came on show";
    // A dialog would open in the middle of the screen, a menu beside the pointer.
    ClickAt({300, 300});
    Click(3);
    EXPECT_TRUE(Shows(kCyan.rgb, 3s)) << "a file chooser opened";
    for (const Point at : {Point{330, 320}, Point{360, 360}, Point{320, 400}})
        EXPECT_TRUE(Shows(kCyan.rgb, 0ms, at)) << "a context menu opened";

    // Unanswered, the request would leave the page purple for ever; granted, red.
    EXPECT_TRUE(Comes(kGreen.rgb, kStartUp)) << "a permission request was not refused";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folders_.HomeDir()))
        EXPECT_NE(entry.path().filename(), "taken.bin") << "a download was saved";
    EXPECT_EQ(kiosk.Output().find("new window dropped"), std::string::npos)
        << "the engine made a window a script opened";
    EXPECT_TRUE(kiosk.Running());
}

TEST_F(KioskTest, PagesThatAskToStayOrOpenDialogsNeverHoldTheShow) {
    // Four pages over three browsers: page 1's browser is sent page 4 and must leave it.
    Process& kiosk = Start(
        "[Tessaro]\nDefaultTime=3\nMaxTime=300\nOnMouseMove=0\n" +
        Pages({"/hostile?color=red\nDefaultTime=False\nTime=6", "/green", "/blue", "/yellow"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "play never started";
    // A visitor's click lets a page ask to stay when left; keys that open printing or
    // developer tools in a browser open nothing here.
    ClickAt({300, 300});
    for (const char* key : {"ctrl+p", "F12", "ctrl+shift+i"})
        Key(key);
    EXPECT_TRUE(Shows(kRed.rgb, 1s)) << "something opened";
    for (const NamedColor& page : {kGreen, kBlue, kYellow, kRed})
        EXPECT_TRUE(Comes(page.rgb, 20s)) << page.name << " was held back";
    EXPECT_TRUE(kiosk.Running());
}

TEST_F(KioskTest, FilesItDidNotCreateAreNeverReplacedOrRemovedAndAFailedStartSaysWhy) {
    const std::string bytes = WithServer("[Tessaro]\nDefaultTime=2\n" + Pages({"/red", "/green"}));
    const std::string file = folders_.Write("show.tso", bytes);
    // A remote debugging port would open the kiosk to anyone who reaches it.
    const std::string port = std::to_string(server_.Port() % 20000 + 30000);
    Process& kiosk = Run({file}, {"QTWEBENGINE_REMOTE_DEBUGGING=127.0.0.1:" + port});
    EXPECT_TRUE(Comes(kGreen.rgb, kStartUp)) << "its pages were not read";
    EXPECT_NE(RunCommand({"bash", "-c", "exec 3<>/dev/tcp/127.0.0.1/" + port}, {}).status, 0)
        << "remote debugging was on";
    EXPECT_TRUE(Says(kiosk, "remote debugging ignored"));
    EXPECT_EQ(KioskFolders::Read(file), bytes) << "rewritten while it plays";
    kiosk.Stop();
    EXPECT_EQ(KioskFolders::Read(file), bytes) << "rewritten or removed at the end";

    // A presentation it cannot read is named, with the reason, on the screen too, in place of
    // the welcome; the show goes on.
    const std::string missing = folders_.File("missing.tso");
    Process& unread = Run({missing});
    EXPECT_TRUE(
        Says(unread, "cannot read the presentation '" + missing + "': No such file", kStartUp));
    EXPECT_TRUE(Comes(kProblem.rgb, kStartUp)) << "the problem page never came on show";
    EXPECT_TRUE(unread.Running());
    unread.Stop();

    // Starts that cannot play say why in a line of their own and fail: without its runtime folder
    // it cannot make its lock; an unknown option or a stray word after a file gives the usage
    // (the command line tests hold the other lines), before Qt looks for a display; without a
    // display, or with one where no X server answers, no Qt abort; as root the engine would end it
    // silently unless its sandbox is switched off. Each with its environment's entry changed (set,
    // or removed where it ends in '=').
    const struct {
        std::vector<std::string> line;
        std::string entry, says;
        int status;
    } failedStarts[] = {
        {{file}, "XDG_RUNTIME_DIR=" + folders_.File("missing/run"), "cannot start", 1},
        {{file, "x"}, "", "pagelark: unexpected word x\nusage: pagelark", 2},
        {{"--bogus"}, "DISPLAY=", "pagelark: unknown option --bogus\nusage: pagelark", 2},
        {{file},
         "DISPLAY=",
         "pagelark: QT_QPA_PLATFORM=xcb asks for X11, and DISPLAY is not set",
         1},
        {{file}, "DISPLAY=:59999", "pagelark: cannot open the display ':59999'", 1},
        {{file}, "QTWEBENGINE_DISABLE_SANDBOX=", "does not run as root with its sandbox", 1}};
    for (const auto& start : failedStarts) {
        if (start.entry.starts_with("QTWEBENGINE_DISABLE_SANDBOX") && ::geteuid() != 0) continue;
        SpawnOptions options = KioskOptions(xvfb_, folders_, start.line, {});
        if (const auto name = start.entry.substr(0, start.entry.find('=') + 1); !name.empty()) {
            std::erase_if(options.environment, [&](const auto& e) { return e.starts_with(name); });
            if (name != start.entry) options.environment.push_back(start.entry);
        }
        Process& run = Keep(options);
        EXPECT_EQ(run.WaitForExit(kPatience), start.status) << start.line.back() << start.entry;
        EXPECT_TRUE(Says(run, start.says)) << start.line.back() << start.entry;
    }
}

TEST_F(KioskTest, ConfigCommandLinesOpenTheWindowOnTheDefaultOrTheNamedFileAndEscapeEnds) {
    Process& kiosk = Run({"CONFIG"});
    const std::string window = WaitForWindow("^Pagelark - ", kStartUp);
    ASSERT_FALSE(window.empty()) << "no configuration window";
    // No starter presentation is written for configuration: the file named is the default one.
    EXPECT_EQ(Xdotool({"getwindowname", window}),
              "Pagelark - " + folders_.HomeDir() + "/Pagelark.TSO\n");
    EXPECT_FALSE(kiosk.WaitForExit(Millis(1000))) << "it did not wait for the window";
    Xdotool({"windowfocus", "--sync", window});
    Key("Escape");
    EXPECT_EQ(kiosk.WaitForExit(kPatience), 0) << "closing the window did not end the program";
    // --config FILE: the window on that file, which is made by OK alone, not the default.
    const std::string file = folders_.File("-new \"show\".tso");
    Process& named = Run({"--config", file});
    const std::string its = WaitForWindow("^Pagelark - ", kStartUp);
    EXPECT_EQ(Xdotool({"getwindowname", its}), "Pagelark - " + file + "\n");
    EXPECT_FALSE(std::filesystem::exists(file)) << "made before a save";
    Xdotool({"windowfocus", "--sync", its});
    Key("Return");
    EXPECT_EQ(named.WaitForExit(kPatience), 0);
    EXPECT_TRUE(std::filesystem::exists(file)) << "OK did not write the file";
    EXPECT_FALSE(std::filesystem::exists(folders_.HomeDir() + "/Pagelark.TSO"));
}

// The operator opens the window from the running show and presses OK without a change: the
// golden file the Windows version wrote, with settings the window does not show, a delay in
// seconds and bytes that are not UTF-8 added, comes back byte for byte, and so does the store.
TEST_F(KioskTest, AnUnchangedOkGivesBackTheFileWithEverySettingItCarried) {
    std::string text = testing::TempFolder::Read(PAGELARK_SOURCE_DIR "/tests/golden/windows.tso");
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"http://a/", server_.Url("/red")},
          {"HomeURL=http://home/", "HomeURL=http://home/caf\xe9"},  // not UTF-8
          {"ScreenSaveTimeOut=600\r\nOnMouseMove=0\r\n",
           "ScreenSaveTimeOut=42\r\nOnMouseMove=0\r\nLowMemory=Yes\r\nDBus=Yes\r\n"
           "RefreshMinutes=0.5\r\nClearVisitorData=no\r\nForceReboot=yes\r\n"
           // Beyond the Windows version, each held (a default one too) and with the page due.
           "IdlePage=http://idle/\r\nOfflinePage=http://back/"
           "\r\nClockAligned=No\r\nScreenDays=Mon-Sun\r\n"
           "ScreenOn=06:00\r\nScreenOff=06:00\r\nScreenCec=No\r\n"},
          {"Time=0\r\n", "Time=0\r\nDays=Sun-Sat\r\nFrom=05:00\r\nTo=05:00\r\n"},
          {"ScreenCec=No\r\n", "ScreenCec=No\r\nZoom=100\r\n"},
          {"Time=0\r\nDays=", "Time=0\r\nZoom=150\r\nDays="}}) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + 1))
            text.replace(at, from.size(), to);
    }
    const std::string file = folders_.Write("show.tso", text);
    MachineSettings("\"EMail\"=\"ren\xe9@example.org\"\n");
    struct stat written {};
    ASSERT_EQ(::stat(file.c_str(), &written), 0);
    Run({file});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "the page never came on show";
    ASSERT_TRUE(WaitForRow(7)) << "no Tool Run without its Quit button";
    ClickAt({kToolRunRow.x - 3 * kButton + kButton / 2, kToolRunRow.y + kButton / 2});  // Config
    const std::string window = WaitForWindow("^Pagelark - ", kPatience);
    ASSERT_FALSE(window.empty()) << "no configuration window";
    Xdotool({"windowfocus", "--sync", window});
    Key("Return");
    // OK saves, then closes the window; a save puts a new file in the old one's place.
    ASSERT_TRUE(
        WaitUntil([&] { return WaitForWindow("^Pagelark - ", Millis(0)).empty(); }, kPatience))
        << "OK did not close the window";
    struct stat saved {};
    ASSERT_EQ(::stat(file.c_str(), &saved), 0);
    EXPECT_NE(saved.st_ino, written.st_ino) << "the file was not saved";
    EXPECT_EQ(testing::TempFolder::Read(file), text);
    EXPECT_NE(KioskFolders::Read(folders_.File("registry/machine.reg")).find("ren\xe9@"),
              std::string::npos);
}

// A page with a zoom of its own is laid out at it out of sight: in every reading of the screen
// while it is on show, from the first, its square of 100 CSS pixels is twice as wide. Three
// browsers take turns, so the fourth page loads at 100 % in the zoomed page's browser.
TEST_F(KioskTest, APageShowsAtItsZoomFromItsFirstFrameAndLeavesNoneInItsBrowser) {
    server_.AddPage("/square", "<div style=\"width:100px;height:100px;background:#000\"></div>");
    Start("[Tessaro]\nDefaultTime=2\nOnMouseMove=0\n" +
          Pages({"/square?color=red\nZoom=200", "/square?color=green", "/square?color=blue",
                 "/square?color=yellow"}));
    ASSERT_TRUE(WaitUntilKioskShows()) << "no kiosk window";
    // From page 1 on: each page as told by its colour right of any square, and each width of
    // the square (less the pixel the browsers stand beyond the screen's edge) it is seen with.
    std::string seen;
    for (const auto end = std::chrono::steady_clock::now() + 30s;
         std::chrono::steady_clock::now() < end && std::ranges::count(seen, ';') < 5;) {
        const std::vector<Rgb> row = Row({0, 50}, 420);
        const auto page = std::ranges::find_if(
            kPageColors, [&](const NamedColor& c) { return Near(row.back(), c.rgb); });
        if (page == kPageColors.end() || (seen.empty() && page->name != "red")) continue;
        const auto width =
            std::ranges::find_if(row, [](Rgb x) { return !Near(x, {}); }) - row.begin();
        const std::string word = std::string(page->name) + " " + std::to_string(width) + ";";
        if (!seen.ends_with(word)) seen += word;
    }
    EXPECT_EQ(seen, "red 199;green 99;blue 99;yellow 99;red 199;");
}

// A long page with Scroll moves to its foot over its time and is at its top again when it next
// comes on show, though its browser kept it loaded between its turns.
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

// A locked kiosk end to end: no tool bar but Tool Nav's five buttons, no key that ends the show,
// no local file the operator did not name; locked and let go by configuration management.

#include <filesystem>
#include <sstream>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

TEST_F(KioskTest, LockedNoToolRunNoWayOutFiveNavigationButtonsAndNoFileTheOperatorDidNotName) {
    const std::string elsewhere =
        folders_.Write("elsewhere/page.html", "<body style=\"background:#ff00ff\"></body>");
    // The show's own local page, one big link to a file it does not name. Without restrictions
    // the include list refuses nothing: only the lock keeps files out.
    const std::string page = folders_.Write(
        "show/link.html", "<body style=\"margin:0\"><a href=\"file://" + elsewhere +
                              "\" style=\"display:block;height:100vh;background:#ffff00\"></a>");
    Process& kiosk = Start(
        "[Tessaro]\nLocked=Yes\nDefaultTime=60\nOnMouseMove=1\nAllowRestrictions=False\n"
        "[Page1]\nURL=" +
        page + "\n[Include1]\nURL={server}/\n");
    ASSERT_TRUE(Comes(kYellow.rgb, kStartUp)) << "the page never came on show";
    for (const char* key : {"Escape", "alt+F4", "ctrl+p", "F10", "F12", "F1"})
        Key(key);
    EXPECT_FALSE(kiosk.WaitForExit(3s)) << "a visitor ended it";
    // The top right corner shows the page alone: no tool bar, not even its frame.
    for (int x = Xvfb::kWidth - 260; x < Xvfb::kWidth; x += 6)
        for (int y = 0; y < 60; y += 4)
            ASSERT_TRUE(Shows(kYellow.rgb, 0s, {x, y})) << "a tool bar";
    // Back, Forward, Reload, Home and Play over the address box.
    ASSERT_TRUE(EnterNavigationMode(5)) << "no Tool Nav of five buttons";
    Click();
    EnterAddress("file://" + elsewhere);
    EnterAddress("/etc/");
    EXPECT_TRUE(Shows(kYellow.rgb, 3s)) << "a local address loaded";
    EnterAddress(server_.Url("/orange"));
    EXPECT_TRUE(Comes(kOrange.rgb, kPatience)) << "an included address was refused";
    EXPECT_TRUE(kiosk.Running());
}

// A hand edit left the quotes off Locked: the kiosk reads the rest, is locked all the same (so
// the operator's pagelark CONFIG has it open its window, and leaves), and the operator's OK keeps
// every line of the store, that one included.
TEST_F(KioskTest, AStoreLineThatCannotBeReadLocksAndOkKeepsEveryLine) {
    const std::string values =
        "\"EMail\"=\"owner@example.org\"\n\"RefreshMinutes\"=\"0.5\"\n\"DBus\"=\"Yes\"\n\"Locked\"="
        "Yes\n";
    MachineSettings(values);
    Process& kiosk = Start("[Tessaro]\nDefaultTime=60\n" + Pages({"/red"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "the page never came on show";
    EXPECT_TRUE(Says(kiosk, "machine.reg: line 7 names Locked but is not read"));
    // Only a locked kiosk opens its window for pagelark CONFIG.
    Process& config = Run({"CONFIG"});
    ASSERT_EQ(config.WaitForExit(kPatience), 0) << config.Output();
    const std::string window = WaitForWindow("^Pagelark - ", kPatience);
    ASSERT_NE(window, "") << "no configuration window";
    Xdotool({"windowfocus", "--sync", window});
    Key("Return");  // OK, the default button
    const auto saved = [&] { return KioskFolders::Read(folders_.File("registry/machine.reg")); };
    EXPECT_TRUE(
        WaitUntil([&] { return saved().find("\"AutoReboot\"") != std::string::npos; }, kPatience));
    std::istringstream lines(values);
    for (std::string line; std::getline(lines, line);)
        EXPECT_NE(saved().find(line + "\r\n"), std::string::npos) << line << " lost:\n" << saved();
    EXPECT_TRUE(kiosk.Running());
}

// Started without an argument, the kiosk plays the managed default presentation, not the
// store's, with the managed default time; a default it cannot read is said as on the command
// line. A managed file that locks it, made while it runs, takes Tool Run away until removed.
TEST_F(KioskTest, AManagedDefaultFileIsPlayedWithoutAnArgumentAndAManagedLockComesAndGoes) {
    const std::string managed = folders_.File("managed.d");
    folders_.Write("managed.d/50-fleet.ini", "[Machine]\nDefaultFile=" + managed + "\n");
    Process& folder = Run({}, {"PAGELARK_MANAGED_DIR=" + managed});
    EXPECT_TRUE(Says(folder, "cannot read the presentation '" + managed + "': Is a directory"));
    folder.Stop();

    const std::string show = folders_.Write(
        "show.tso",
        WithServer("[Tessaro]\nDefaultTime=60\nOnMouseMove=0\n" + Pages({"/red", "/green"})));
    MachineSettings("\"DefaultFile\"=\"" + folders_.File("other.tso") + "\"\n");
    folders_.Write("managed.d/50-fleet.ini",
                   "[Machine]\nDefaultFile=" + show + "\n[Tessaro]\nDefaultTime=2\n");
    Run({}, {"PAGELARK_MANAGED_DIR=" + managed});
    EXPECT_TRUE(Comes(kRed.rgb, kStartUp)) << "the managed default did not play";
    EXPECT_TRUE(Comes(kGreen.rgb, 20s)) << "the page kept the file's default time";

    ASSERT_TRUE(WaitForRow(8)) << "no Tool Run";
    folders_.Write("managed.d/60-lock.ini", "[Machine]\nLocked=Yes\n");
    EXPECT_TRUE(WaitUntil([&] { return !RowFault(1).empty(); }, kPatience))
        << "Tool Run stayed on a locked kiosk";
    std::filesystem::remove(managed + "/60-lock.ini");
    EXPECT_TRUE(WaitForRow(8)) << "Tool Run did not come back";
}

}  // namespace
}  // namespace pagelark::e2e

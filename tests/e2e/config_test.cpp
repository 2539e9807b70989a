// The configuration window of the real program: opened by the command line, and the program
// ends with it.

#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

class ConfigTest : public KioskTest {
  protected:
    // The first window whose title matches, once there is one; "" when none came.
    std::string WaitForWindow(const std::string& title, Millis patience) {
        std::vector<std::string> found;
        WaitUntil([&] { return !(found = Windows(title)).empty(); }, patience);
        return found.empty() ? "" : found[0];
    }
};

TEST_F(ConfigTest, ConfigCommandLineOpensTheWindowOnTheDefaultFileAndEscapeEndsTheProgram) {
    Kiosk& kiosk = Run({"CONFIG"});
    const std::string window = WaitForWindow("^Pagelark - ", kStartUp);
    ASSERT_FALSE(window.empty()) << "no configuration window";
    // No starter presentation is written for configuration: the file named is the default one.
    EXPECT_EQ(Xdotool({"getwindowname", window}),
              "Pagelark - " + folders_.HomeDir() + "/Pagelark.TSO\n");
    EXPECT_FALSE(kiosk.WaitForExit(std::chrono::seconds(1))) << "it did not wait for the window";

    Xdotool({"windowfocus", "--sync", window});
    Key("Escape");
    const auto status = kiosk.WaitForExit(kPatience);
    ASSERT_TRUE(status) << "closing the window did not end the program";
    EXPECT_EQ(*status, 0);
}

TEST_F(ConfigTest, ASettingsStoreThatCannotBeWrittenIsNamedAndTheWindowStays) {
    // A file where the store's folder should be stops every write, root's too.
    const std::string blocked = folders_.Write("blocked", "");
    Kiosk& kiosk = Run({"CONFIG"}, {"PAGELARK_REGISTRY_DIR=" + blocked});
    const std::string window = WaitForWindow("^Pagelark - ", kStartUp);
    ASSERT_FALSE(window.empty()) << "no configuration window";
    Xdotool({"windowfocus", "--sync", window});
    Key("Return");  // OK
    ASSERT_FALSE(WaitForWindow("^Error$", kPatience).empty()) << "the failure was not told";
    EXPECT_FALSE(kiosk.WaitForExit(std::chrono::seconds(1))) << "the window closed";
    EXPECT_TRUE(std::filesystem::exists(folders_.HomeDir() +
                                        "/Pagelark.TSO"));  // the file itself was saved
}

}  // namespace
}  // namespace pagelark::e2e

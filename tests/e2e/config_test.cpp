// The configuration window of the real program: opened by the command line, and the program
// ends with it.

#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

TEST_F(KioskTest, ConfigCommandLineOpensTheDefaultFileTellsAStoreItCannotWriteAndEndsWithIt) {
    // A file where the store's folder should be stops every write, root's too.
    Kiosk& kiosk = Run({"CONFIG"}, {"PAGELARK_REGISTRY_DIR=" + folders_.Write("blocked", "")});
    // The first window whose title matches, once there is one; "" when none came.
    const auto window = [this](const std::string& title, Millis patience) {
        std::vector<std::string> found;
        WaitUntil([&] { return !(found = Windows(title)).empty(); }, patience);
        return found.empty() ? "" : found[0];
    };
    const std::string config = window("^Pagelark - ", kStartUp);
    ASSERT_FALSE(config.empty()) << "no configuration window";
    // No starter presentation is written for configuration: the file named is the default one.
    const std::string file = folders_.HomeDir() + "/Pagelark.TSO";
    EXPECT_EQ(Xdotool({"getwindowname", config}), "Pagelark - " + file + "\n");
    EXPECT_FALSE(std::filesystem::exists(file));

    Xdotool({"windowfocus", "--sync", config});
    Key("Return");  // OK
    ASSERT_FALSE(window("^Error$", kPatience).empty()) << "the failure was not told";
    EXPECT_FALSE(kiosk.WaitForExit(Millis(1000))) << "the window closed";
    EXPECT_TRUE(std::filesystem::exists(file));  // the file itself was saved
    Key("Return");                               // the message goes
    // Stepping aside for the message and back made the window anew.
    Xdotool({"windowfocus", "--sync", window("^Pagelark - ", kPatience)});
    Key("Escape");
    const auto status = kiosk.WaitForExit(kPatience);
    ASSERT_TRUE(status) << "closing the window did not end the program";
    EXPECT_EQ(*status, 0);
}

}  // namespace
}  // namespace pagelark::e2e

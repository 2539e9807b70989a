// The configuration window of the real program: opened by the command line, and the program
// ends with it.

#include <gtest/gtest.h>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

TEST_F(KioskTest, ConfigCommandLineOpensTheWindowOnTheDefaultFileAndEscapeEndsTheProgram) {
    Kiosk& kiosk = Run({"CONFIG"});
    const std::string window = WaitForWindow("^Pagelark - ", kStartUp);
    ASSERT_FALSE(window.empty()) << "no configuration window";
    // No starter presentation is written for configuration: the file named is the default one.
    EXPECT_EQ(Xdotool({"getwindowname", window}),
              "Pagelark - " + folders_.HomeDir() + "/Pagelark.TSO\n");
    EXPECT_FALSE(kiosk.WaitForExit(Millis(1000))) << "it did not wait for the window";

    Xdotool({"windowfocus", "--sync", window});
    Key("Escape");
    const auto status = kiosk.WaitForExit(kPatience);
    ASSERT_TRUE(status) << "closing the window did not end the program";
    EXPECT_EQ(*status, 0);
}

}  // namespace
}  // namespace pagelark::e2e

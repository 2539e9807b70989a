// The configuration window of the real program: opened by the command line, and the program
// ends with it.

#include <gtest/gtest.h>

#include <sstream>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

TEST_F(KioskTest, ConfigCommandLineOpensTheWindowOnTheDefaultFileAndEscapeEndsTheProgram) {
    kiosks_.push_back(std::make_unique<Kiosk>(xvfb_, folders_, std::vector<std::string>{"CONFIG"}));
    Kiosk& kiosk = *kiosks_.back();
    std::string window;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto found =
                RunCommand({"xdotool", "search", "--name", "^Pagelark - "}, xvfb_.Environment());
            std::istringstream(found.output) >> window;
            return found.status == 0 && !window.empty();
        },
        kStartUp))
        << "no configuration window";
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

}  // namespace
}  // namespace pagelark::e2e

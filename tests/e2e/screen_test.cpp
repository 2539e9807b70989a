// The screen's hours on a real Xorg: the display goes dark at ScreenOff and the show comes back
// at ScreenOn, a key wakes it for the screen saver's delay, and a television on CEC is told
// through cec-ctl (a stub on PATH that notes its arguments; a fake device in a folder only
// tests name).

#include <ctime>
#include <string>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

constexpr Rgb kBlack{0, 0, 0};

class ScreenTest : public KioskTest {
  protected:
    ScreenTest() : KioskTest(XServer::XorgDummy) {}
    void SetUp() override {
        if (!xvfb_.StartFailure().empty())
            GTEST_SKIP() << "Xorg with the dummy driver cannot start on this machine: "
                         << xvfb_.StartFailure();
    }
    // "On", "Off", or "" where the server offers no power saving to read.
    std::string Monitor() const {
        const CommandResult q = RunCommand({"xset", "q"}, xvfb_.Environment());
        const auto at = q.output.find("Monitor is ");
        if (at == std::string::npos) return "";
        return q.output.substr(at + 11, q.output.find_first_of(" \n", at + 11) - at - 11);
    }
    // How often the stub cec-ctl was called with arguments that hold what.
    int Told(const std::string& what) const {
        const std::string log = testing::TempFolder::Read(folders_.File("cec.log"));
        int count = 0;
        for (auto at = log.find(what); at != std::string::npos; at = log.find(what, at + 1))
            ++count;
        return count;
    }
    bool ToldMore(const std::string& what, int before) const {
        return WaitUntil([&] { return Told(what) > before; }, kPatience).has_value();
    }
};

TEST_F(ScreenTest, DarkAtScreenOffWokenByAKeyAndBackAtScreenOn) {
    // Room for start-up before the screen goes dark, then three minutes of dark.
    std::time_t offAt = 0;
    std::time_t onAt = 0;
    const std::string off = MinuteAhead(2, false, &offAt);
    const std::string on = MinuteAhead(5, false, &onAt);
    folders_.Write("bin/cec-ctl",
                   "#!/bin/sh\necho \"$*\" >> \"" + folders_.File("cec.log") + "\"\n");
    ASSERT_EQ(RunCommand({"chmod", "+x", folders_.File("bin/cec-ctl")}, {}).status, 0);
    folders_.Write("cec/cec0", "");
    const char* path = std::getenv("PATH");
    Process& kiosk =
        Start("[Tessaro]\nDefaultTime=30\nOnMouseMove=0\nScreenSaveTimeOut=15\nScreenOn=" + on +
                  "\nScreenOff=" + off + "\n" + Pages({"/red"}),
              {"PATH=" + folders_.File("bin") + ":" + (path != nullptr ? path : "/usr/bin:/bin"),
               "PAGELARK_TEST_CEC_FOLDER=" + folders_.File("cec")});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp));
    const auto untilNow = [](std::time_t at) {
        return Millis(std::max<long long>(0, (at - std::time(nullptr)) * 1000LL)) + kStartUp;
    };

    ASSERT_TRUE(Comes(kBlack, untilNow(offAt))) << "off at " << off;
    EXPECT_TRUE(
        ToldMore("--device " + folders_.File("cec/cec0") + " --playback --to 0 --standby", 0));
    const std::string monitor = Monitor();
    if (monitor.empty()) {
        std::cout << "this X server offers no power saving: the display's level is not read\n";
    } else {
        EXPECT_TRUE(WaitUntil([&] { return Monitor() == "Off"; }, kPatience)) << Monitor();
    }

    // A key wakes it: the show comes back, and goes dark again once the visitor has gone.
    const int woken = Told("--image-view-on");
    Key("x");
    EXPECT_TRUE(Comes(kRed.rgb, kPatience));
    EXPECT_TRUE(ToldMore("--image-view-on", woken));
    if (!monitor.empty()) {
        EXPECT_EQ(Monitor(), "On");
    }
    EXPECT_TRUE(Comes(kBlack, Millis(60000)));

    ASSERT_TRUE(Comes(kRed.rgb, untilNow(onAt))) << "on at " << on;
    if (!monitor.empty()) {
        EXPECT_EQ(Monitor(), "On");
    }
    EXPECT_TRUE(kiosk.Running());
}

}  // namespace
}  // namespace pagelark::e2e

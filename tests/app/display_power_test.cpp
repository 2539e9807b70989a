#include "app/display_power.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/support/harness.h"
#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

// A storm of remote switches reaches the television one command at a time, the last one last;
// the last as the kiosk ends is not cut short.
TEST(DisplayPowerTest, SwitchesReachTheTelevisionOneAtATimeTheLastOneLast) {
    testing::TempFolder temp;
    const std::string log = temp.File("cec.log");
    temp.Write("bin/cec-ctl", "#!/bin/sh\necho \"start ${7}\" >> '" + log +
                                  "'\nsleep 0.3\necho end >> '" + log + "'\n");
    std::filesystem::permissions(temp.File("bin/cec-ctl"), std::filesystem::perms::owner_all);
    temp.Write("cec/cec0", "");
    const std::string path = temp.File("bin") + ":" + std::getenv("PATH");
    testing::ScopedVariable onPath("PATH", path.c_str());
    testing::ScopedVariable devices("PAGELARK_TEST_CEC_FOLDER", temp.File("cec").c_str());

    XDisplayPower power;
    for (const bool on : {false, true, false, true, false})
        power.SetPower(on, true);
    const std::string told = "start --standby\nend\nstart --standby\nend\n";
    QElapsedTimer waited;
    waited.start();
    while (testing::TempFolder::Read(log) != told && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(testing::TempFolder::Read(log), told);
    // The last word as the kiosk ends is heard out.
    XDisplayPower{}.SetPower(true, true);
    EXPECT_EQ(testing::TempFolder::Read(log), told + "start --image-view-on\nend\n");
}

// The server's power saving, switched off by a session or left with its own time-outs, is as
// the kiosk found it once the kiosk is gone, and the display is on. Xvfb has none: a real Xorg,
// where its video driver offers it.
TEST(DisplayPowerTest, TheServersPowerSavingIsGivenBackAsTheKioskEnds) {
    const e2e::Xvfb xorg(e2e::XServer::XorgDummy);
    if (!xorg.StartFailure().empty()) GTEST_SKIP() << "no Xorg here: " << xorg.StartFailure();
    const auto xset = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "xset");
        return e2e::RunCommand(arguments, xorg.Environment()).output;
    };
    const auto dpms = [&] {
        const std::string q = xset({"q"});
        return q.substr(std::min(q.find("DPMS"), q.size()));
    };
    if (dpms().find("DPMS is") == std::string::npos) GTEST_SKIP() << "the X server offers no DPMS";
    const testing::ScopedVariable display("DISPLAY", xorg.Display().c_str());
    for (const std::string found : {"-dpms", "+dpms"}) {
        xset({"dpms", "600", "700", "800"});
        xset({found});
        const std::string before = dpms();
        ASSERT_NE(before.find("Standby: 600"), std::string::npos) << before;
        {
            XDisplayPower power;
            power.SetPower(false, false);
            EXPECT_NE(dpms().find("Monitor is Off"), std::string::npos);
        }
        EXPECT_EQ(dpms(), before);
    }
}

}  // namespace
}  // namespace pagelark

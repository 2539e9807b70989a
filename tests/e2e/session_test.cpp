// The kiosk X session without a user service manager: the kiosk comes up on a screen that
// never blanks, comes back within 10 s of a kill -9, and ending the session ends both.

#include <signal.h>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

TEST_F(KioskTest, SessionKeepsTheKioskOnAScreenThatNeverBlanksAndEndsWithIt) {
    const std::string page =
        folders_.Write("page.html", "<body style=\"background:#00ff00\"></body>");
    SpawnOptions options = KioskOptions(
        xvfb_, folders_,
        {folders_.Write("show.tso",
                        "[Tessaro]\nLocked=Yes\nDefaultTime=60\n[Page1]\nURL=" + page + "\n")},
        {"PAGELARK_SESSION_SYSTEMD=no"});
    options.environment.push_back("PAGELARK_BINARY=" + options.argv[0]);
    options.argv[0] = PAGELARK_SESSION;
    Process session(options);
    // The kiosk among the session's processes, or 0.
    const auto kiosk = [&session] {
        for (const pid_t pid : ProcessesInGroup(session.Pid()))
            if (KioskFolders::Read("/proc/" + std::to_string(pid) + "/comm") == "pagelark\n")
                return pid;
        return pid_t{0};
    };
    const auto blanking = [this] { return RunCommand({"xset", "q"}, xvfb_.Environment()).output; };
    const auto blankingOff = [&] {
        const std::string settings = blanking();
        return settings.find("prefer blanking:  no") != std::string::npos &&
               settings.find("timeout:  0 ") != std::string::npos;
    };

    ASSERT_TRUE(Comes(kGreen.rgb, kStartUp)) << "the kiosk never showed\n" << session.Output();
    const pid_t first = kiosk();
    ASSERT_NE(first, 0) << "no kiosk in the session";
    EXPECT_TRUE(WaitUntil(blankingOff, Millis(10000))) << blanking();

    ::kill(first, SIGKILL);
    pid_t second = 0;
    ASSERT_TRUE(WaitUntil([&] { return (second = kiosk()) != 0 && second != first; }, kPatience))
        << "no kiosk after kill -9";
    EXPECT_TRUE(Comes(kGreen.rgb, kStartUp)) << "the restarted kiosk never showed";
    EXPECT_TRUE(WaitUntil(blankingOff, Millis(10000))) << "after the restart: " << blanking();

    ::kill(session.Pid(), SIGTERM);
    EXPECT_TRUE(
        WaitUntil([&] { return !session.Running() && ::kill(second, 0) != 0; }, Millis(15000)))
        << "the session or its kiosk outlived the end of the session";
}

}  // namespace
}  // namespace pagelark::e2e

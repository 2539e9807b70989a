// The kiosk sessions without a user service manager: the kiosk comes up on a screen that
// never blanks (X) or in cage (Wayland, cage shown in the test's X server), comes back within
// 10 s of a kill -9, and ending the session ends both; a second session ends at once.

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <ctime>
#include <functional>

#include "e2e/support/kiosk_fixture.h"
#include "e2e/support/wayland.h"

namespace pagelark::e2e {
namespace {

// A one-page green show with these [Tessaro] lines.
std::string GreenShow(const KioskFolders& folders, const std::string& lines) {
    const std::string page =
        folders.Write("page.html", "<body style=\"background:#00ff00\"></body>");
    return folders.Write("show.tso",
                         "[Tessaro]\n" + lines + "DefaultTime=60\n[Page1]\nURL=" + page + "\n");
}

// The kiosk under Wayland as an ordinary user (cage refuses root), cage shown in the test's X
// server.
SpawnOptions InCage(const Xvfb& server, const KioskFolders& folders, const CageSetup& setup,
                    const std::string& show, std::vector<std::string> environment) {
    std::string why;
    const auto user = CompositorUser(why);
    if (!user) throw std::runtime_error(why);
    return CageOptions(server, folders, *user, setup, {show}, std::move(environment));
}

// The process of that name among a session's, or 0.
pid_t Named(const Process& session, const std::string& name) {
    for (const pid_t pid : ProcessesInGroup(session.Pid()))
        if (KioskFolders::Read("/proc/" + std::to_string(pid) + "/comm") == name + "\n") return pid;
    return 0;
}

class SessionTest : public KioskTest {
  protected:
    // The session's kiosk shows, comes back after a kill -9 and goes with the session, as
    // does its compositor (named, or ""), which stays while the kiosk comes back; each time it
    // shows, shown checks the rest.
    void KeepsTheKioskAndEndsWithIt(Process& session, const std::string& compositorName,
                                    const std::function<void()>& shown) {
        const auto kiosk = [&session] { return Named(session, "pagelark"); };
        ASSERT_TRUE(Comes(kGreen.rgb, kStartUp)) << "the kiosk never showed";
        const pid_t first = kiosk(), compositor = Named(session, compositorName);
        ASSERT_NE(first, 0) << "no kiosk in the session";
        ASSERT_EQ(compositor == 0, compositorName.empty()) << "no " << compositorName;
        shown();

        ::kill(first, SIGKILL);
        pid_t second = 0;
        ASSERT_TRUE(
            WaitUntil([&] { return (second = kiosk()) != 0 && second != first; }, kPatience))
            << "no kiosk after kill -9";
        EXPECT_TRUE(Comes(kGreen.rgb, kStartUp)) << "the restarted kiosk never showed";
        EXPECT_EQ(Named(session, compositorName), compositor) << "the compositor did not stay";
        shown();

        ::kill(session.Pid(), SIGTERM);
        const auto gone = [](pid_t pid) { return pid == 0 || ::kill(pid, 0) != 0; };
        EXPECT_TRUE(WaitUntil(
            [&] { return !session.Running() && gone(second) && gone(compositor); }, Millis(15000)))
            << "the session, its compositor or the kiosk outlived the end of the session";
    }
};

TEST_F(SessionTest, SessionKeepsTheKioskOnAScreenThatNeverBlanksAndEndsWithIt) {
    SpawnOptions options = KioskOptions(xvfb_, folders_, {GreenShow(folders_, "Locked=Yes\n")},
                                        {"PAGELARK_SESSION_SYSTEMD=no"});
    options.environment.push_back("PAGELARK_BINARY=" + options.argv[0]);
    options.argv[0] = PAGELARK_SESSION;
    Process& session = Keep(options);
    std::string blanking;
    const auto blankingOff = [&] {
        blanking = RunCommand({"xset", "q"}, xvfb_.Environment()).output;
        return blanking.find("prefer blanking:  no") != std::string::npos &&
               blanking.find("timeout:  0 ") != std::string::npos;
    };
    KeepsTheKioskAndEndsWithIt(
        session, "", [&] { EXPECT_TRUE(WaitUntil(blankingOff, Millis(10000))) << blanking; });
}

// A killed compositor's socket left behind is no compositor: the session starts its own.
void LeaveStaleSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST_F(SessionTest, WaylandSessionKeepsTheKioskInCageAndEndsWithIt) {
    LeaveStaleSocket(folders_.File("run") + "/wayland-0");
    const std::string show = GreenShow(folders_, "Locked=Yes\n");
    const auto options = [&] {
        return InCage(xvfb_, folders_, {.session = PAGELARK_SESSION}, show,
                      {"PAGELARK_SESSION_SYSTEMD=no", "WAYLAND_DISPLAY=wayland-0"});
    };
    Process& session = Keep(options());
    KeepsTheKioskAndEndsWithIt(session, "cage", [&] {
        // Qt's Wayland platform draws the kiosk: cage starts its X server only for an X client.
        EXPECT_EQ(Named(session, "Xwayland"), 0) << "the kiosk is an X client of cage's Xwayland";
        // A second session for the account says so and ends.
        Process& second = Keep(options());
        EXPECT_TRUE(Says(second, "a kiosk session already runs"));
        EXPECT_TRUE(second.WaitForExit(kPatience));
    });
}

// The screen's dark hours under Wayland: black, no X server asked for the display's power
// (cage would start one just for that), the reason in the debug log once, and no warning.
TEST_F(KioskTest, DarkHoursUnderWaylandShowBlackAndSayWhyTheDisplayStaysOn) {
    // A day of the week three days off: dark all day, today and tomorrow.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    Process& run = Keep(InCage(
        xvfb_, folders_, {},
        GreenShow(folders_, "ScreenDays=" + std::string(kDays[(local.tm_wday + 3) % 7]) + "\n"),
        {"QT_LOGGING_RULES=pagelark.player.debug=true",
         "QT_MESSAGE_PATTERN=%{type} %{category}: %{message}"}));
    const std::string reason = "under Wayland the display's power is the compositor's";

    ASSERT_TRUE(Says(run, reason, kStartUp));
    ASSERT_TRUE(Says(run, "the screen goes dark"));
    EXPECT_TRUE(Shows(Rgb{0, 0, 0}, Millis(3000))) << "the show in its dark hours";
    const std::string said = run.Output();
    EXPECT_EQ(said.find(reason), said.rfind(reason)) << said;
    EXPECT_EQ(said.find("warning pagelark.player: "), std::string::npos) << said;
    EXPECT_EQ(Named(run, "Xwayland"), 0) << "an X server was started";
}

}  // namespace
}  // namespace pagelark::e2e

// The kiosk while its screen is dark beside the same kiosk playing: CPU time over half a minute
// and the whole tree's private memory (Private_Clean + Private_Dirty), before and after the
// ScreenOff moment; a control run without screen hours measured at the same moments. Target:
// dark, next to no CPU and the renderers' memory given back.

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

constexpr auto kWindow = 30s;

// The CPU seconds of a process group so far: the kiosk and its engine's helpers.
double GroupCpuSeconds(pid_t group) {
    long long ticks = 0;
    for (pid_t pid : ProcessesInGroup(group)) {
        std::ifstream stat(std::filesystem::path("/proc") / std::to_string(pid) / "stat");
        std::string text;
        std::getline(stat, text);
        const auto close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        // After "pid (comm)": utime is the 12th field, stime the 13th.
        for (int k = 1; k <= 13 && fields >> field; ++k)
            if (k >= 12) ticks += std::stoll(field);
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Reading {
    double cpuSeconds = 0;
    double privateMiB = 0;
};

Reading Measure(pid_t group) {
    const double before = GroupCpuSeconds(group);
    std::this_thread::sleep_for(kWindow);
    const double cpu = GroupCpuSeconds(group) - before;
    return {cpu, pagelark::bench::SettledMemory(group).privateMiB};
}

std::string LocalHourMinute(std::time_t at) {
    std::tm local{};
    localtime_r(&at, &local);
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

// Playing, then from offAt on: the hours' run dark, the control still playing.
bool Run(const Desk& desk, const HttpServer& server, bool hours, std::time_t offAt) {
    KioskFolders folders;
    std::string text =
        pagelark::bench::ColourShow(server, "/", {"red", "green", "blue", "yellow"}, 3);
    if (hours)
        text.insert(text.find('\n') + 1, "ScreenOff=" + LocalHourMinute(offAt) +
                                             "\nScreenOn=" + LocalHourMinute(offAt + 3600) + "\n");
    Kiosk kiosk(desk.xvfb_, folders, {folders.Write("dark.tso", text)});
    if (!desk.WaitForColor(kRed.rgb, kStartUp)) {
        std::printf("the show never began\n");
        return false;
    }
    std::this_thread::sleep_for(5s);
    const Reading playing = Measure(kiosk.Pid());
    const auto wait = std::chrono::seconds(offAt - std::time(nullptr)) + 15s;
    std::this_thread::sleep_for(wait);
    if (hours && !desk.WaitForColor({0, 0, 0}, kPatience)) {
        std::printf("the screen never went dark\n");
        return false;
    }
    const Reading later = Measure(kiosk.Pid());
    std::printf(
        "%-8s  playing: CPU %5.2f s  private %7.1f MiB   %s: CPU %5.2f s  private %7.1f "
        "MiB\n",
        hours ? "hours" : "control", playing.cpuSeconds, playing.privateMiB,
        hours ? "dark   " : "playing", later.cpuSeconds, later.privateMiB);
    std::fflush(stdout);
    return kiosk.Running();
}

}  // namespace

int main() {
    Desk desk;
    HttpServer server;
    std::printf(
        "dark: CPU over %lld s and private memory, playing and then dark, beside a"
        " control run that plays throughout\n",
        static_cast<long long>(kWindow.count()));
    for (const bool hours : {false, true}) {
        // The off moment: a whole minute with room for start-up and the first reading.
        const std::time_t now = std::time(nullptr);
        std::time_t offAt = now - now % 60 + 120;
        if (offAt - now < 100) offAt += 60;
        if (!Run(desk, server, hours, offAt)) return 1;
    }
    return 0;
}

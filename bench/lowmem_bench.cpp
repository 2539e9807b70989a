// The kiosk in a memory control group of 1 GiB, playing pages of about 200 MiB each at one
// page a second: the group's peak, the process tree's highest PSS, out-of-memory kills and
// whether it still plays at the end. Targets: peak under 1 GiB, no kill, the kiosk alive.
// Needs root and cgroup v1's or v2's memory controller; otherwise it says so and ends.
//   LOWMEM_CHANGES  page changes to play (default 500)

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/support/http_server.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

constexpr long long kLimitBytes = 1LL << 30;
// Start-up under software rendering included.
constexpr auto kStall = 90s;

// The number after "key " on a line of a statistics file, or the file's only number.
long long Number(const std::string& file, const std::string& key = "") {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (key.empty() || line.rfind(key + " ", 0) == 0)
            return std::atoll(line.c_str() + (key.empty() ? 0 : key.size() + 1));
    return -1;
}

double MiB(long long bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// A child of this process's own group when it may make one, else of the hierarchy's root;
// removed with whatever still runs in it.
class MemoryGroup {
  public:
    MemoryGroup() {
        std::ifstream in("/proc/self/cgroup");
        std::vector<std::pair<std::string, bool>> parents;  // folder, version 1
        for (std::string line; std::getline(in, line);) {
            const auto first = line.find(':'), second = line.find(':', first + 1);
            if (second == std::string::npos) continue;
            const std::string controllers = line.substr(first + 1, second - first - 1);
            const std::string path = line.substr(second + 1);
            if (controllers == "memory")
                parents.insert(parents.end(), {{"/sys/fs/cgroup/memory" + path, true},
                                               {"/sys/fs/cgroup/memory", true}});
            if (controllers.empty())
                for (const std::string root : {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"})
                    parents.insert(parents.end(), {{root + path, false}, {root, false}});
        }
        for (const auto& [parent, v1] : parents) {
            dir_ = parent + "/pagelark-lowmem-" + std::to_string(::getpid());
            v1_ = v1;
            // Only under a mounted hierarchy: /sys/fs/cgroup may be a plain folder.
            if (!std::ifstream(parent + "/cgroup.procs") || ::mkdir(dir_.c_str(), 0755) != 0)
                continue;
            std::ofstream(File(v1 ? "limit_in_bytes" : "max")) << kLimitBytes << std::flush;
            if ((made_ = Number(File(v1 ? "limit_in_bytes" : "max")) == kLimitBytes)) return;
            ::rmdir(dir_.c_str());
        }
    }
    ~MemoryGroup() {
        for (int round = 0; made_ && round < 100 && ::rmdir(dir_.c_str()) != 0; ++round) {
            std::ifstream procs(Procs());
            for (pid_t pid; procs >> pid;)
                ::kill(pid, SIGKILL);
            std::this_thread::sleep_for(100ms);
        }
    }

    bool Made() const { return made_; }
    bool V1() const { return v1_; }
    std::string Procs() const { return dir_ + "/cgroup.procs"; }
    long long PeakBytes() const { return Number(File(v1_ ? "max_usage_in_bytes" : "peak")); }
    long long UsageBytes() const { return Number(File(v1_ ? "usage_in_bytes" : "current")); }
    long long AtLimit() const {
        return v1_ ? Number(File("failcnt")) : Number(File("events"), "max");
    }
    long long OomKills() const { return Number(File(v1_ ? "oom_control" : "events"), "oom_kill"); }

  private:
    std::string File(const std::string& name) const { return dir_ + "/memory." + name; }

    std::string dir_;
    bool v1_ = true;
    bool made_ = false;
};

}  // namespace

int main() {
    const char* text = std::getenv("LOWMEM_CHANGES");
    const int wanted = std::max(1, text != nullptr ? std::atoi(text) : 500);
    const MemoryGroup group;
    if (!group.Made()) {
        std::printf(
            "lowmem: no memory control group could be made here; run it as root on a machine\n"
            "with cgroup v1's or v2's memory controller, or watch the kiosk by hand under\n"
            "  systemd-run --scope -p MemoryMax=1G build-bench/src/app/pagelark FILE.tso\n");
        return 0;
    }
    Xvfb xvfb;
    HttpServer server;
    // 128 MiB of filled typed arrays kept reachable and a 4096 x 4096 canvas in the page's
    // colour over the whole window.
    server.AddPage(
        "/heavy",
        "<canvas id=\"c\" width=\"4096\" height=\"4096\" style=\"position:fixed;left:0;top:0;"
        "width:100%;height:100%\"></canvas><script>"
        "window.held = []; for (var i = 0; i < 16; ++i) {"
        " var a = new Float64Array(1048576); a.fill(i + Math.random()); held.push(a); }"
        "var g = document.getElementById('c').getContext('2d');"
        "g.fillStyle = getComputedStyle(document.body).backgroundColor;"
        "g.fillRect(0, 0, 4096, 4096);</script>");
    KioskFolders folders;
    const std::string trace = folders.File("trace.txt");
    const std::string show = pagelark::bench::ColourShow(
        server, "/heavy?color=", {"red", "green", "blue", "yellow", "cyan"}, 1);
    auto options = KioskOptions(xvfb, folders, {folders.Write("lowmem.tso", show)},
                                {"PAGELARK_TRACE=" + trace,
                                 // Its renewals of the spare browsers, to count.
                                 "QT_LOGGING_RULES=pagelark.player.debug=true"});
    // Into the group before the kiosk starts, so every engine process it starts is in it too.
    options.argv.insert(options.argv.begin(),
                        {"/bin/sh", "-c", "echo $$ > \"$0\" && exec \"$@\"", group.Procs()});
    Process kiosk(options);
    std::printf("lowmem: %d page changes in a group of %.0f MiB (cgroup v%d)\n", wanted,
                MiB(kLimitBytes), group.V1() ? 1 : 2);
    std::fflush(stdout);

    const TimePoint started = std::chrono::steady_clock::now();
    TimePoint lastChange = started;
    int changes = 0;
    long long highestPss = 0;  // bytes
    const auto countChanges = [&] { return pagelark::bench::FrontMoments(trace).size(); };
    while (changes < wanted && kiosk.Running()) {
        std::this_thread::sleep_for(1s);
        highestPss = std::max(highestPss, pagelark::bench::GroupPssKiB(kiosk.Pid()) * 1024);
        const int now = static_cast<int>(countChanges());
        const TimePoint at = std::chrono::steady_clock::now();
        if (now / 100 > changes / 100)
            std::printf("  change %4d  %5.0f s  group %6.1f MiB  highest PSS %6.1f MiB\n", now,
                        SecondsBetween(started, at), MiB(group.UsageBytes()), MiB(highestPss));
        std::fflush(stdout);
        if (now != changes) lastChange = at;
        changes = now;
        if (at - lastChange > kStall) break;
    }
    // Still playing: a change within a few seconds more.
    std::this_thread::sleep_for(5s);
    const bool changing = static_cast<int>(countChanges()) > changes;
    const bool alive = kiosk.Running();
    kiosk.Stop();

    std::string ceiling = "(none: the kiosk did not see the limit)";
    int renewals = 0;
    const std::string output = kiosk.Output();
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("low-memory mode") != std::string::npos) ceiling = line;
        renewals += line.find("spare browsers renewed") != std::string::npos ? 1 : 0;
    }
    std::printf(
        "  %s\n  page changes           %6d  in %.0f s\n"
        "  group's peak           %6.1f MiB  (target under %.0f MiB)\n"
        "  highest PSS            %6.1f MiB  (the process tree, every second)\n"
        "  limit reached          %6lld times\n  out-of-memory kills    %6lld  (target 0)\n"
        "  spare browsers renewed %6d times\n"
        "  kiosk alive            %6s  (target yes), still changing pages: %s\n",
        ceiling.c_str(), changes, SecondsBetween(started, std::chrono::steady_clock::now()),
        MiB(group.PeakBytes()), MiB(kLimitBytes), MiB(highestPss), group.AtLimit(),
        group.OomKills(), renewals, alive ? "yes" : "no", changing ? "yes" : "no");
    if (!alive)
        std::printf(
            "its output ends:\n%s\n",
            output.substr(output.size() - std::min<std::size_t>(output.size(), 600)).c_str());
    return 0;
}

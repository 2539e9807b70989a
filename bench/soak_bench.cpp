// The kiosk left playing pages that allocate and churn the DOM at one page a second: the
// whole process tree's memory (PSS, median of five readings) every 100 page changes, and its
// growth from change 200 to the last. Target: under 10 %.
//   SOAK_CHANGES  page changes to play (default 2000, over half an hour)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/http_server.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using pagelark::bench::SettledMemory;
using namespace std::chrono_literals;

namespace {

// Change 200 is the base: by then every browser has played many pages and caches are warm.
constexpr int kBase = 200;
constexpr int kStep = 100;
// A stalled show ends the run instead of hanging it.
constexpr auto kStall = 60s;

int ChangesWanted() {
    const char* text = std::getenv("SOAK_CHANGES");
    const int wanted = text != nullptr ? std::atoi(text) : 2000;
    return wanted > kBase ? wanted : kBase + kStep;
}

double MiB(long long kib) {
    return static_cast<double>(kib) / 1024.0;
}

}  // namespace

int main() {
    const int wanted = ChangesWanted();
    Xvfb xvfb;
    HttpServer server;
    // Holds 32 MiB of filled typed arrays, replacing one every 200 ms, and rebuilds 200
    // elements every 100 ms; never displayed, as painting them would keep both cores busy.
    server.AddPage(
        "/heavy",
        "<div id=\"churn\" style=\"display:none\"></div><script>"
        "function block() { var a = new Float64Array(524288); a.fill(Math.random()); return a; }"
        "var blocks = []; for (var i = 0; i < 8; ++i) blocks.push(block());"
        "var next = 0;"
        "setInterval(function () { blocks[next] = block(); next = (next + 1) % 8; }, 200);"
        "setInterval(function () { var churn = document.getElementById('churn');"
        " churn.textContent = ''; for (var i = 0; i < 200; ++i) {"
        " var s = document.createElement('span'); s.textContent = i + ' ';"
        " churn.appendChild(s); } }, 100);</script>");
    KioskFolders folders;
    const std::string trace = folders.File("trace.txt");
    const std::string text = pagelark::bench::ColourShow(
        server, "/heavy?color=", {"red", "green", "blue", "yellow", "cyan", "magenta"}, 1);
    const auto file = folders.Write("soak.tso", text);
    Kiosk kiosk(xvfb, folders, {file}, {"PAGELARK_TRACE=" + trace});
    std::printf("soak: %d page changes at one page a second\n", wanted);

    const TimePoint started = std::chrono::steady_clock::now();
    TimePoint lastChange = started;
    int changes = 0;
    int nextReport = kStep;
    long long basePss = 0;
    long long lastPss = 0;
    int lastReported = 0;
    while (changes < wanted) {
        std::this_thread::sleep_for(200ms);
        if (!kiosk.Running()) {
            std::printf("the kiosk ended after %d changes\n", changes);
            break;
        }
        const auto now = static_cast<int>(pagelark::bench::FrontMoments(trace).size());
        const TimePoint at = std::chrono::steady_clock::now();
        if (now != changes) lastChange = at;
        changes = now;
        if (at - lastChange > kStall) {
            std::printf("no page change for %lld s after %d changes\n",
                        static_cast<long long>(kStall.count()), changes);
            break;
        }
        if (changes < nextReport) continue;
        const auto pss = static_cast<long long>(SettledMemory(kiosk.Pid()).pssMiB * 1024.0);
        std::printf("  change %5d  %6.0f s  PSS %7.1f MiB  %zu processes\n", changes,
                    SecondsBetween(started, at), MiB(pss), ProcessesInGroup(kiosk.Pid()).size());
        std::fflush(stdout);
        if (basePss == 0 && changes >= kBase) basePss = pss;
        lastPss = pss;
        lastReported = changes;
        nextReport = (changes / kStep + 1) * kStep;
    }
    if (basePss == 0 || lastReported <= kBase) {
        std::printf("too few changes to measure growth from change %d\n", kBase);
        return 1;
    }
    const double growth =
        static_cast<double>(lastPss - basePss) / static_cast<double>(basePss) * 100.0;
    const double perStep = growth / (static_cast<double>(lastReported - kBase) / kStep);
    std::printf(
        "growth of PSS from change %d to %d: %+.1f %% (%+.1f MiB), %+.2f %% per 100 changes"
        " (target under 10 %%)\n",
        kBase, lastReported, growth, MiB(lastPss - basePss), perStep);
    return 0;
}

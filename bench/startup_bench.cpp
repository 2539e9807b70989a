// Start-up beside Debian's Chromium, on the same Xvfb and measured the same way: process
// start -> the help start page's first pixels read back from the screen, and the whole
// process tree's PSS: Chromium's once that page shows, the kiosk's once all three of its
// browsers hold a page (the start page, page 1 on show, page 2 preloaded). Medians of five
// runs of each, taken in turns so that a change in the machine's load falls on both.
// Targets, kiosk / chromium: start at most 0.6, PSS at most 0.75.
// Chromium: apt-get install chromium; without it the benchmark says so and measures nothing.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/harness.h"
#include "e2e/support/http_server.h"
#include "support/temp_folder.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr int kRuns = 5;
// The help start page's background.
constexpr Rgb kStartPage{0xf4, 0xf6, 0xf8};
constexpr Rgb kBlack{0, 0, 0};
// Helpers an engine starts just after its first paint are part of what showing a page costs.
constexpr auto kSettle = 2s;

struct Run {
    double startMs = 0;
    long long pssKiB = 0;
    std::size_t processes = 0;
};

// Each run starts from a black screen, so the page's pixels are its own.
void ClearScreen(const Desk& desk) {
    desk.xvfb_.SetRootColor(kBlack);
    desk.WaitForColor(kBlack, 10s);
}

// Memory is read once the colour laid is on the screen.
std::optional<Run> Measure(const Desk& desk, const Process& process, TimePoint started,
                           Rgb laid = kStartPage) {
    const auto shown = desk.WaitForColor(kStartPage, kStartUp);
    if (!shown || !desk.WaitForColor(laid, kStartUp)) return std::nullopt;
    std::this_thread::sleep_for(kSettle);
    return Run{SecondsBetween(started, *shown) * 1000, GroupPssKiB(process.Pid()),
               ProcessesInGroup(process.Pid()).size()};
}

// The help folder the kiosk writes under its TMPDIR, copied to keep for Chromium.
bool CopyHelpFolder(const KioskFolders& folders, const std::string& to) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folders.TempDir(), error), end; it != end;
         it.increment(error)) {
        if (it->path().filename() == "index.html" &&
            it->path().parent_path().filename() == "Pagelark") {
            fs::copy(it->path().parent_path(), to, fs::copy_options::recursive, error);
            return !error;
        }
    }
    return false;
}

std::optional<Run> KioskRun(const Desk& desk, const HttpServer& server,
                            const std::string& helpCopy) {
    KioskFolders folders;
    const std::string show = folders.Write(
        "show.tso", "[Tessaro]\nDefaultTime=3\nMaxTime=30\n[Page1]\nURL=" + server.Url("/red") +
                        "\n[Page2]\nURL=" + server.Url("/green") + "\n");
    const TimePoint started = std::chrono::steady_clock::now();
    Kiosk kiosk(desk.xvfb_, folders, {show});
    const auto run = Measure(desk, kiosk, started, kRed.rgb);
    if (run && !std::filesystem::exists(helpCopy + "/index.html"))
        CopyHelpFolder(folders, helpCopy);
    return run;
}

std::optional<Run> ChromiumRun(const Desk& desk, const std::string& page) {
    // The environment and engine switches the harness gives the kiosk.
    KioskFolders folders;
    SpawnOptions options;
    options.argv = {kChromium,
                    "--kiosk",
                    "--no-first-run",
                    "--user-data-dir=" + folders.File("profile"),
                    "--no-sandbox",
                    "--disable-gpu",
                    "--disable-background-networking",
                    "--disable-component-update",
                    "--disable-sync",
                    "file://" + page};
    const char* path = std::getenv("PATH");
    options.environment = {"PATH=" + std::string(path ? path : "/usr/bin:/bin"),
                           "LANG=C.UTF-8",
                           "TMPDIR=" + folders.TempDir(),
                           "XDG_RUNTIME_DIR=" + folders.File("run"),
                           "HOME=" + folders.HomeDir(),
                           "DBUS_SESSION_BUS_ADDRESS=unix:path=" + folders.File("no-session-bus"),
                           "NO_AT_BRIDGE=1",
                           "LIBGL_ALWAYS_SOFTWARE=1"};
    // Not Display(): GCC 12 warns wrongly where it is inlined here.
    for (const auto& entry : desk.xvfb_.Environment())
        if (entry.starts_with("DISPLAY=")) options.environment.push_back(entry);
    options.ownProcessGroup = true;
    const TimePoint started = std::chrono::steady_clock::now();
    Process browser(options);
    return Measure(desk, browser, started);
}

void Print(const char* name, const std::vector<Run>& runs) {
    std::vector<double> starts, pss;
    for (const Run& run : runs) {
        starts.push_back(run.startMs);
        pss.push_back(static_cast<double>(run.pssKiB) / 1024.0);
        std::printf("  %-8s start %6.0f ms  PSS %6.1f MiB  %zu processes\n", name, run.startMs,
                    pss.back(), run.processes);
    }
}

}  // namespace

int main() {
    if (access(kChromium, X_OK) != 0) {
        std::printf("chromium is not installed (apt-get install chromium): nothing to compare\n");
        return 0;
    }
    const Desk desk;
    const HttpServer server;
    pagelark::testing::TempFolder kept;
    const std::string helpCopy = kept.File("Pagelark");
    std::vector<Run> kiosk, chromium;
    for (int i = 0; i < kRuns; ++i) {
        ClearScreen(desk);
        const auto k = KioskRun(desk, server, helpCopy);
        if (!k) {
            std::printf("the kiosk showed nothing within 60 s\n");
            return 1;
        }
        kiosk.push_back(*k);
        if (!std::filesystem::exists(helpCopy + "/index.html")) {
            std::printf("the kiosk's help folder was not found under its TMPDIR\n");
            return 1;
        }
        ClearScreen(desk);
        const auto c = ChromiumRun(desk, helpCopy + "/index.html");
        if (!c) {
            std::printf("chromium showed nothing within 60 s\n");
            return 1;
        }
        chromium.push_back(*c);
    }
    Print("kiosk", kiosk);
    Print("chromium", chromium);
    auto median = [](const std::vector<Run>& runs, auto field) {
        std::vector<double> values;
        for (const Run& run : runs)
            values.push_back(static_cast<double>(run.*field));
        return pagelark::bench::Median(values);
    };
    const double kStart = median(kiosk, &Run::startMs);
    const double cStart = median(chromium, &Run::startMs);
    const double kPss = median(kiosk, &Run::pssKiB) / 1024.0;
    const double cPss = median(chromium, &Run::pssKiB) / 1024.0;
    std::printf("start to first pixels, median of %d: kiosk %.0f ms, chromium %.0f ms\n", kRuns,
                kStart, cStart);
    std::printf("PSS, median of %d: kiosk with three pages loaded %.1f MiB, chromium %.1f MiB\n",
                kRuns, kPss, cPss);
    std::printf("start-up ratio kiosk / chromium: %.2f (target at most 0.6)\n", kStart / cStart);
    std::printf("PSS ratio kiosk / chromium: %.2f (target at most 0.75)\n", kPss / cPss);
    return 0;
}

// Start-up beside Debian's Chromium, on the same Xvfb and measured the same way: process
// start -> the first frame that is the help start page as it settles, and the whole
// process tree's PSS: Chromium's once that page shows, the kiosk's once all three of its
// browsers hold a page (the start page, page 1 on show, page 2 preloaded). Medians of five
// runs of each, taken in turns so that a change in the machine's load falls on both.
// A frame is the screen's middle row and column read back every few milliseconds; blank
// (white) and half-laid-out frames differ from the settled one and do not count.
// Targets, kiosk / chromium: start at most 0.6, PSS at most 0.75.
// Chromium: apt-get install chromium; without it the benchmark says so and measures nothing.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
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

// Not Xvfb::Display(): GCC 12 warns wrongly where it is inlined in this file.
std::string DisplayOf(const Xvfb& server) {
    for (const auto& entry : server.Environment())
        if (entry.starts_with("DISPLAY=")) return entry.substr(8);
    return "";
}

struct Frame {
    TimePoint time;
    std::vector<unsigned long> pixels;
};

// The screen's middle row and column, on a connection of its own.
class Lines {
  public:
    explicit Lines(const Xvfb& server) : display_(XOpenDisplay(DisplayOf(server).c_str())) {}
    ~Lines() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    Lines(const Lines&) = delete;
    Lines& operator=(const Lines&) = delete;

    Frame Read() const {
        Frame frame{std::chrono::steady_clock::now(), {}};
        Append(0, Xvfb::kHeight / 2, Xvfb::kWidth, 1, frame.pixels);
        Append(Xvfb::kWidth / 2, 0, 1, Xvfb::kHeight, frame.pixels);
        return frame;
    }

  private:
    void Append(int x, int y, int width, int height, std::vector<unsigned long>& to) const {
        XImage* image = display_ == nullptr
                            ? nullptr
                            : XGetImage(display_, DefaultRootWindow(display_), x, y,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        AllPlanes, ZPixmap);
        if (image == nullptr) return;
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
                to.push_back(XGetPixel(image, column, row) & 0xffffff);
        XDestroyImage(image);
    }

    ::Display* display_;
};

Rgb CentreOf(const Frame& frame) {
    return RgbOf(frame.pixels.empty() ? 0 : frame.pixels[Xvfb::kWidth / 2]);
}

// Frames from the start until ended says the page has settled.
std::vector<Frame> Record(const Desk& desk,
                          const std::function<bool(const std::vector<Frame>&)>& ended) {
    const Lines lines(desk.xvfb_);
    std::vector<Frame> frames;
    const auto deadline = std::chrono::steady_clock::now() + kStartUp;
    while (std::chrono::steady_clock::now() < deadline) {
        frames.push_back(lines.Read());
        if (ended(frames)) return frames;
        std::this_thread::sleep_for(5ms);
    }
    return {};
}

// The first frame that already is the settled one: the frame on show longest, other than the
// screen before the start (a frame caught while the next page is drawn lasts a moment only);
// memory once all is on show.
std::optional<Run> Measure(const Process& process, TimePoint started,
                           const std::vector<Frame>& frames) {
    if (frames.empty()) return std::nullopt;
    const Frame* settled = nullptr;
    double longest = -1;
    for (auto run = frames.begin(); run != frames.end();) {
        const auto end = std::find_if(
            run, frames.end(), [&](const Frame& frame) { return frame.pixels != run->pixels; });
        const double lasted = SecondsBetween(run->time, std::prev(end)->time);
        if (run->pixels != frames.front().pixels && lasted > longest) {
            longest = lasted;
            settled = &*run;
        }
        run = end;
    }
    if (settled == nullptr) return std::nullopt;
    const auto first = std::find_if(frames.begin(), frames.end(), [&](const Frame& frame) {
        return frame.pixels == settled->pixels;
    });
    std::this_thread::sleep_for(kSettle);
    return Run{SecondsBetween(started, first->time) * 1000,
               pagelark::bench::GroupPssKiB(process.Pid()), ProcessesInGroup(process.Pid()).size()};
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
    // The start page is on show until page 1 comes.
    const std::vector<Frame> frames = Record(
        desk, [](const std::vector<Frame>& seen) { return Near(CentreOf(seen.back()), kRed.rgb); });
    const auto run = Measure(kiosk, started, frames);
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
    options.environment.push_back("DISPLAY=" + DisplayOf(desk.xvfb_));
    options.ownProcessGroup = true;
    const TimePoint started = std::chrono::steady_clock::now();
    Process browser(options);
    // Settled once the screen stays as it is for a second and a half.
    const std::vector<Frame> frames = Record(desk, [](const std::vector<Frame>& seen) {
        const auto same = std::find_if(seen.rbegin(), seen.rend(), [&](const Frame& frame) {
            return frame.pixels != seen.back().pixels;
        });
        return CentreOf(seen.back()) != kBlack && same != seen.rend() &&
               SecondsBetween(same->time, seen.back().time) > 1.5;
    });
    return Measure(browser, started, frames);
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

// The kiosk's page change, frame by frame: X Damage on the root window wakes a watcher that
// reads a few pixels of the page area each time the X server draws (a frame drawn over before
// the read is missed). Over CHANGE_COUNT changes (default 200) of solid pages a second each:
//   latency from a browser brought to the front to the first frame all in the new page's colour;
//   foreign frames: frames in no page's colour once the pages play (a black or white flash, a
//   half-drawn mix of two pages), whether or not a change comes with them.
// Targets: median <= 17 ms (one frame at 60 Hz), 99th percentile <= 50 ms, no foreign frame.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/harness.h"
#include "e2e/support/http_server.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

// The centre and two points towards opposite corners, clear of the pointer and the tool bars.
constexpr std::array<Point, 3> kProbes{
    {{Xvfb::kWidth / 2, Xvfb::kHeight / 2}, {160, 160}, {860, 600}}};
constexpr std::array kColors{kRed, kGreen, kBlue, kYellow};

using Pixels = std::array<Rgb, kProbes.size()>;

struct Frame {
    long long ns = 0;  // CLOCK_MONOTONIC when its damage reached us, as the kiosk's trace
    Pixels pixels;
};

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Which page colour every probe shows, or -1: a foreign frame.
int PageOf(const Pixels& pixels) {
    for (std::size_t c = 0; c < kColors.size(); ++c)
        if (std::all_of(pixels.begin(), pixels.end(),
                        [&](Rgb p) { return Near(p, kColors[c].rgb); }))
            return static_cast<int>(c);
    return -1;
}

// Watches the root window's damage on a connection and thread of its own until asked for the
// frames.
class FrameWatcher {
  public:
    explicit FrameWatcher(const Xvfb& server) : display_(XOpenDisplay(server.Display().c_str())) {
        int error = 0;
        if (display_ == nullptr || !XDamageQueryExtension(display_, &eventBase_, &error))
            throw std::runtime_error("no X Damage on " + server.Display());
        damage_ = XDamageCreate(display_, DefaultRootWindow(display_), XDamageReportNonEmpty);
        XSync(display_, False);
        thread_ = std::thread([this] { Run(); });
    }
    ~FrameWatcher() {
        Frames();
        XDamageDestroy(display_, damage_);
        XCloseDisplay(display_);
    }
    // Frames in order, each told apart from the one before by its pixels.
    std::vector<Frame> Frames() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return frames_;
    }

  private:
    void Run() {
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        while (!stop_) {
            if (XPending(display_) == 0 && poll(&fd, 1, 100) <= 0) continue;
            const long long ns = MonotonicNs();
            bool damaged = false;
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                damaged |= event.type == eventBase_ + XDamageNotify;
            }
            if (!damaged) continue;
            // Emptied before reading, so a frame drawn meanwhile wakes us again.
            XDamageSubtract(display_, damage_, None, None);
            const Frame frame{ns, Read()};
            if (frames_.empty() || !(frames_.back().pixels == frame.pixels))
                frames_.push_back(frame);
        }
    }
    Pixels Read() {
        Pixels pixels{};
        for (std::size_t i = 0; i < kProbes.size(); ++i) {
            XImage* image = XGetImage(display_, DefaultRootWindow(display_), kProbes[i].x,
                                      kProbes[i].y, 1, 1, AllPlanes, ZPixmap);
            if (image == nullptr) continue;
            pixels[i] = RgbOf(XGetPixel(image, 0, 0));
            XDestroyImage(image);
        }
        return pixels;
    }

    Display* display_;
    int eventBase_ = 0;
    Damage damage_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<Frame> frames_;
    std::thread thread_;
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

std::string Describe(const Pixels& pixels) {
    std::string text;
    for (Rgb p : pixels)
        text += (text.empty() ? "" : " ") + ToHex(p);
    return text;
}

}  // namespace

int main() {
    const char* count = std::getenv("CHANGE_COUNT");
    const int changes = count ? std::max(1, std::atoi(count)) : 200;
    const Desk desk;
    HttpServer server;
    KioskFolders folders;
    std::vector<std::string> names;
    for (const auto& color : kColors)
        names.emplace_back(color.name);
    const std::string text = pagelark::bench::ColourShow(server, "/", names, 1);
    const std::string trace = folders.File("trace.txt");
    FrameWatcher watcher(desk.xvfb_);
    Kiosk kiosk(desk.xvfb_, folders, {folders.Write("bench.tso", text)},
                {"PAGELARK_TRACE=" + trace});
    if (!desk.WaitUntilKioskShows()) {
        std::printf("the kiosk showed nothing within %lld s\n",
                    static_cast<long long>(kStartUp.count() / 1000));
        return 1;
    }
    // The help's start page and the first page come first: a few fronts more than changes.
    WaitUntil(
        [&] { return pagelark::bench::FrontMoments(trace).size() >= std::size_t(changes) + 3; },
        kStartUp + changes * 5s, 100ms);
    std::this_thread::sleep_for(1s);  // the last change's frames
    const std::vector<Frame> frames = watcher.Frames();
    const std::vector<long long> fronts = pagelark::bench::FrontMoments(trace);
    if (frames.empty()) return 1;

    // Foreign frames: any once a page has been on show.
    int foreign = 0;
    bool playing = false;
    std::vector<std::string> examples;
    for (const Frame& f : frames) {
        const int page = PageOf(f.pixels);
        playing |= page >= 0;
        if (!playing || page >= 0) continue;
        ++foreign;
        if (examples.size() < 5) examples.push_back(Describe(f.pixels));
    }

    std::vector<double> latencies;
    for (std::size_t i = 0; i < fronts.size(); ++i) {
        const long long moment = fronts[i];
        const long long next = i + 1 < fronts.size() ? fronts[i + 1] : frames.back().ns + 1;
        // The page on show at the front moment, then the first frame all in another page.
        int old = -1;
        auto at = frames.begin();
        for (; at != frames.end() && at->ns <= moment; ++at)
            if (PageOf(at->pixels) >= 0) old = PageOf(at->pixels);
        if (old < 0) continue;  // the pages were not playing yet
        const auto shown = std::find_if(at, frames.end(), [&](const Frame& f) {
            return PageOf(f.pixels) >= 0 && PageOf(f.pixels) != old;
        });
        // A browser raised over the same page changes nothing before the next front.
        if (shown == frames.end() || shown->ns >= next) continue;
        latencies.push_back(static_cast<double>(shown->ns - moment) / 1e6);
        if (latencies.size() == std::size_t(changes)) break;
    }
    if (latencies.empty()) {
        std::printf("no page change seen: %zu frames, %zu fronts\n", frames.size(), fronts.size());
        return 0;
    }
    std::printf("page change over %zu changes (%zu distinct frames seen):\n", latencies.size(),
                frames.size());
    std::printf(
        "  front -> first full frame: median %.1f ms (target <= 17 ms), 99th percentile"
        " %.1f ms (target <= 50 ms)\n",
        Percentile(latencies, 0.5), Percentile(latencies, 0.99));
    std::printf("  foreign frames: %d (target 0)\n", foreign);
    for (const std::string& e : examples)
        std::printf("    e.g. %s\n", e.c_str());
    return 0;
}

#include "e2e/support/screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "e2e/support/xvfb.h"

namespace pagelark::e2e {
namespace {

// Xlib's default handler ends the process; a failed read should fail one test instead.
int IgnoreXError(::Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

Screen::Screen(const Xvfb& server) {
    // A server that has just started listening can still refuse a connection for a while (seen
    // when another server on the same number was going away).
    if (!WaitUntil([&] { return (display_ = XOpenDisplay(server.Display().c_str())) != nullptr; },
                   Millis(30000), Millis(50)))
        throw std::runtime_error("cannot open display " + server.Display());
    XSetErrorHandler(IgnoreXError);
}

Screen::~Screen() {
    XCloseDisplay(display_);
}

Rgb Screen::Pixel(int x, int y) const {
    XImage* image =
        XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) throw std::runtime_error("XGetImage failed");
    // Our server has 24 bits a pixel: 0xRRGGBB.
    const unsigned long pixel = XGetPixel(image, 0, 0);
    const Rgb rgb{static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                  static_cast<std::uint8_t>(pixel)};
    XDestroyImage(image);
    return rgb;
}

Rgb Screen::Centre() const {
    return Pixel(Xvfb::kWidth / 2, Xvfb::kHeight / 2);
}

std::optional<TimePoint> Screen::WaitForCentre(const std::function<bool(Rgb)>& condition,
                                               Millis timeout) const {
    std::optional<TimePoint> seen;
    WaitUntil(
        [&] {
            const auto now = std::chrono::steady_clock::now();
            if (condition(Centre())) seen = now;
            return seen.has_value();
        },
        timeout, Millis(5));
    return seen;
}

std::optional<TimePoint> Screen::WaitForColor(Rgb color, Millis timeout) const {
    return WaitForCentre([color](Rgb seen) { return Near(seen, color); }, timeout);
}

std::vector<ColorSample> Screen::RecordColors(Millis duration) const {
    std::vector<ColorSample> samples;
    const auto end = std::chrono::steady_clock::now() + duration;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now()) {
        samples.push_back({now, Centre()});
        // A breath between samples leaves the single X server and the renderer some CPU;
        // any frame on show for even a few milliseconds is still caught.
        std::this_thread::sleep_for(Millis(1));
    }
    return samples;
}

std::vector<ColorRun> Runs(const std::vector<ColorSample>& samples,
                           std::span<const NamedColor> palette) {
    std::vector<ColorRun> runs;
    for (const auto& sample : samples) {
        std::string name = ToHex(sample.rgb);
        for (const auto& color : palette)
            if (Near(sample.rgb, color.rgb)) name = color.name;
        if (!runs.empty() && runs.back().name == name)
            runs.back().last = sample.time;
        else
            runs.push_back({name, sample.time, sample.time});
    }
    return runs;
}

std::string Describe(const std::vector<ColorRun>& runs, TimePoint origin) {
    std::string text;
    for (const auto& run : runs) {
        char line[96];
        std::snprintf(line, sizeof line, "  %-8s from %6.2fs for %5.2fs\n", run.name.c_str(),
                      SecondsBetween(origin, run.first), SecondsBetween(run.first, run.last));
        text += line;
    }
    return text;
}

}  // namespace pagelark::e2e

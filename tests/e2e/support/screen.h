#pragma once
// Reads back what the X server shows: pixels of the root window through XGetImage.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "e2e/support/colors.h"
#include "e2e/support/process.h"

typedef struct _XDisplay Display;

namespace pagelark::e2e {

class Xvfb;

struct Point {
    int x = 0;
    int y = 0;
};

struct ColorSample {
    TimePoint time;
    Rgb rgb;
};

// Consecutive samples of one colour: a palette name, or the hex of a colour outside it.
struct ColorRun {
    std::string name;
    TimePoint first;
    TimePoint last;
};

class Screen {
  public:
    explicit Screen(const Xvfb& server);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Rgb Pixel(int x, int y) const;
    Rgb Centre() const;

    // Polls the centre pixel every few milliseconds; the time the condition first held.
    std::optional<TimePoint> WaitForCentre(const std::function<bool(Rgb)>& condition,
                                           Millis timeout) const;
    std::optional<TimePoint> WaitForColor(Rgb color, Millis timeout) const;
    // Samples the centre pixel as often as it can for the given time.
    std::vector<ColorSample> RecordColors(Millis duration) const;

  private:
    ::Display* display_ = nullptr;
};

std::vector<ColorRun> Runs(const std::vector<ColorSample>& samples,
                           std::span<const NamedColor> palette);
// "red 3.02s @1.98" ... for failure messages, times counted from origin.
std::string Describe(const std::vector<ColorRun>& runs, TimePoint origin);

}  // namespace pagelark::e2e

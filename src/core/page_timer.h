#pragma once
// How long the page on show stays, which commands move the show on, and where the page
// counter goes. Times come in as clock readings; nothing here reads a clock.

#include <chrono>
#include <cstdint>

#include "core/browser_rotation.h"

namespace pagelark {

class PageTimer {
  public:
    enum class Turn {
        Stay,      // the page on show stays
        PassOver,  // the preload failed: the page on show stays another turn
        Advance,   // the preload comes on show
    };

    // The page on show came on show at now.
    void Start(double now) {
        start_ = now;
        cutShort_ = false;
        hoursOver_ = false;
    }
    // It got another turn. A page held past its hours stays until they are looked at again,
    // rather than trying a failing page on every tick.
    void AnotherTurn(double now) {
        start_ = now;
        hoursOver_ = false;
    }
    double Since() const { return start_; }
    // The clock was set back: the page's time starts again from the new reading.
    void Follow(double now) { start_ = now < start_ ? now : start_; }
    // Its time is over: it went where it cannot be loaded.
    void CutShort() { cutShort_ = true; }
    // Its hours ended while a time of zero held it on show.
    void HoursOver() { hoursOver_ = true; }
    bool IsCutShort() const { return cutShort_ || hoursOver_; }
    // A page on show for display seconds (zero: until a command moves on) gives way to the
    // preload once that time is over and the preload is ready, or maxTime after it came on show.
    Turn At(double now, std::chrono::seconds display, const BrowserRotation::Record& preload,
            std::chrono::seconds maxTime) const;

  private:
    double start_ = 0.0;
    bool cutShort_ = false;
    bool hoursOver_ = false;
};

// A preload holds the page on show until it has loaded or failed, or for at most maxTime.
bool PreloadHolds(double waited, const BrowserRotation::Record& preload,
                  std::chrono::seconds maxTime);

struct CounterMove {
    std::int32_t counter = 0;
    bool ends = false;
};
// The page counter moved by delta over count pages: +1 when a page's time is over or on Next,
// -1 on Previous. Past the last page AutoLoop returns to page 1, else the show ends; below
// page 1 AutoLoop goes to the last page, and without it the counter stops at the start page.
CounterMove MoveCounter(std::int32_t counter, int delta, std::int32_t count, bool autoLoop);

}  // namespace pagelark

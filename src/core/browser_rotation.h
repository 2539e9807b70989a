#pragma once
// The stage's three browsers take turns: one shows the page on show, one preloads the next
// page behind it, and one waits to preload once that page comes on show. Each remembers what
// the program last sent it, so a page it still holds comes on show without a second load.

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <utility>

#include "core/ports/port_types.h"
#include "model/presentation.h"

namespace pagelark {

class BrowserRotation {
  public:
    struct Record {
        std::string address;           // last address the program sent
        std::chrono::seconds time{0};  // its page's display time; zero holds it on show
        bool loaded = false;           // ready to come on show
        bool failed = false;           // its last load failed
        std::string location;          // the address the browser last reported
        // Where the program's load of address ended (the engine may have normalised or
        // redirected it); unset while that load runs.
        std::optional<std::string> landed;
        // Since then the browser went elsewhere (a visitor's link, the page's own redirect) or
        // lost the page: it no longer holds it.
        bool left = false;
        // Sent back to its page once after it reached a refused address.
        bool bounced = false;
        std::int32_t zoom = kPlainZoom;  // the percent its address was sent at
    };

    static bool Valid(int browser) { return browser >= 0 && browser < kBrowserCount; }

    int Current() const { return current_; }
    int Next() const { return next_; }
    int Spare() const { return spare_; }
    const Record& operator[](int browser) const { return records_[browser]; }

    // The preloaded browser comes on show, the spare preloads, the one on show waits.
    void Rotate();
    // The spare, loaded out of sight, comes on show; the one on show waits; the preload stays.
    void SwapSpare() { std::swap(current_, spare_); }
    bool Holds(int browser, const std::string& address, std::int32_t zoom = kPlainZoom) const;
    // A new load, which reports its own failure.
    void Sent(int browser, const std::string& address, std::int32_t zoom = kPlainZoom);
    // browser is to show address for time at zoom; true when it must be sent, not merely shown
    // again.
    bool Assign(int browser, const std::string& address, std::chrono::seconds time,
                std::int32_t zoom = kPlainZoom);
    // Its page is gone: whatever it is sent next loads.
    void Forget(int browser) { records_[browser] = {}; }
    void SetTime(int browser, std::chrono::seconds time) { records_[browser].time = time; }
    // The next page starts to preload; unless waitComplete it may come on show unfinished.
    void PreloadStarts(bool waitComplete) { records_[next_].loaded = !waitComplete; }
    // Only the preloading browser's completion readies it for the show. The first after an
    // address was sent ends the program's load: the page is at home where the browser is then.
    void Completed(int browser);
    // The browser's address changed. Away from where the program's load landed, it no longer
    // holds the page it was sent.
    void Located(int browser, const std::string& location);
    // Its page moved on: once the program's load landed it no longer holds it, and before
    // that only a visitor's move takes it (redirects while it loads are part of the page).
    void Moved(int browser, bool byVisitor) {
        if (byVisitor || records_[browser].landed) records_[browser].left = true;
    }
    void Bounced(int browser) { records_[browser].bounced = true; }
    // Its page was replaced by another the program did not send.
    void Left(int browser) { records_[browser].left = true; }
    // Also when the renderer died after its page completed: nothing is left to show.
    void Failed(int browser);

  private:
    int current_ = 0;
    int next_ = 1;
    int spare_ = 2;
    std::array<Record, kBrowserCount> records_;
};

}  // namespace pagelark

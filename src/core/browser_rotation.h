#pragma once
// The stage's three browsers take turns: one shows the page on show, one preloads the next
// page behind it, and one waits to preload once that page comes on show. Each remembers what
// the program last sent it, so a page it already holds comes on show without a second load.

#include <array>
#include <chrono>
#include <string>

#include "core/ports/port_types.h"

namespace pagelark {

class BrowserRotation {
  public:
    struct Record {
        std::string address;           // last address the program sent
        std::chrono::seconds time{0};  // its page's display time; zero holds it on show
        bool loaded = false;           // ready to come on show
        bool failed = false;           // its last load failed
    };

    static bool Valid(int browser) { return browser >= 0 && browser < kBrowserCount; }

    int Current() const { return current_; }
    int Next() const { return next_; }
    int Spare() const { return spare_; }
    const Record& operator[](int browser) const { return records_[browser]; }

    // The preloaded browser comes on show, the spare preloads, the one on show waits.
    void Rotate();
    bool Holds(int browser, const std::string& address) const;
    // A new load, which reports its own failure.
    void Sent(int browser, const std::string& address);
    // browser is to show address for time; true when it must be sent, not merely shown again.
    bool Assign(int browser, const std::string& address, std::chrono::seconds time);
    // Its page is gone: whatever it is sent next loads.
    void Forget(int browser) { records_[browser] = {}; }
    void SetTime(int browser, std::chrono::seconds time) { records_[browser].time = time; }
    // The next page starts to preload; unless waitComplete it may come on show unfinished.
    void PreloadStarts(bool waitComplete) { records_[next_].loaded = !waitComplete; }
    // Only the preloading browser's completion readies it for the show.
    void Completed(int browser);
    // Also when the renderer died after its page completed: nothing is left to show.
    void Failed(int browser);

  private:
    int current_ = 0;
    int next_ = 1;
    int spare_ = 2;
    std::array<Record, kBrowserCount> records_;
};

}  // namespace pagelark

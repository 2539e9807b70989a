#pragma once
// Which page a clock-aligned show has on show: a function of the instant alone (seconds since
// 1970 in UTC), so kiosks whose clocks agree show the same page, however long each has run.

#include <chrono>
#include <functional>
#include <optional>
#include <span>

namespace pagelark {

// The page at position (1: the first page) is on show from `from` until `until`.
struct AlignedShowing {
    int position = 0;
    double from = 0.0;
    double until = 0.0;
    bool Holds(double at) const { return !(at < from) && at < until; }
    friend bool operator==(const AlignedShowing&, const AlignedShowing&) = default;
};

// Whether the page at position is due at the instant.
using DueAt = std::function<bool(int position, double at)>;

// The pages' times one after another make the cycle, which repeats from 1970-01-01 00:00 UTC;
// the page whose slot holds `at` is on show. A page not due then gives its slot to the next
// due page (past the last page to the first), which stays until its own slot ends. A page of
// 0 seconds has no slot. None when the cycle is empty or no page with a time is due.
std::optional<AlignedShowing> AlignedAt(std::span<const std::chrono::seconds> times, double at,
                                        const DueAt& due);

}  // namespace pagelark

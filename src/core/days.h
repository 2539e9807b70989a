#pragma once
// The clock reads days as a floating count. The player's rules keep durations as seconds and
// turn them into days only where they meet a reading.

#include <chrono>

namespace pagelark {

constexpr double InDays(std::chrono::seconds duration) {
    return 1.0 / 24 / 60 / 60 * static_cast<double>(duration.count());
}

}  // namespace pagelark

#include "core/clock_alignment.h"

#include <cmath>
#include <cstddef>

namespace pagelark {

std::optional<AlignedShowing> AlignedAt(std::span<const std::chrono::seconds> times, double at,
                                        const DueAt& due) {
    double cycle = 0.0;
    for (const std::chrono::seconds t : times)
        cycle += t.count() > 0 ? static_cast<double>(t.count()) : 0.0;
    if (!(cycle > 0.0) || !std::isfinite(at)) return std::nullopt;
    const std::size_t count = times.size();
    const auto length = [&](std::size_t k) {
        return times[k].count() > 0 ? static_cast<double>(times[k].count()) : 0.0;
    };
    double start = std::floor(at / cycle) * cycle;
    if (at < start) start -= cycle;
    // The slot holding at; rounding may put at a hair past the cycle's end: the next one's first.
    std::size_t slot = count;
    double begin = start;
    for (std::size_t k = 0; k < count; ++k) {
        if (length(k) > 0.0 && at < begin + length(k)) {
            slot = k;
            break;
        }
        begin += length(k);
    }
    if (slot == count) {
        start += cycle;
        begin = start;
        for (slot = 0; length(slot) == 0.0; ++slot) {
        }
    }
    const double from = begin;
    double end = begin;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t k = (slot + step) % count;
        end += length(k);
        if (length(k) > 0.0 && due(static_cast<int>(k) + 1, at))
            return AlignedShowing{static_cast<int>(k) + 1, from, end};
    }
    return std::nullopt;
}

}  // namespace pagelark

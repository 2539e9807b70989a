#pragma once
// How a long page on show moves towards its foot: its [PageN] Scroll, as stored. "No" (or
// nothing) keeps it still, a number is a speed in pixels a second, "Yes" paces it to reach its
// foot as its display time ends.

#include <optional>
#include <string_view>

namespace pagelark {

struct PresentationPage;

inline constexpr int kSlowestScroll = 1;
inline constexpr int kFastestScroll = 10000;

struct PageScroll {
    int pixelsPerSecond = 0;  // 0 with paced: as fast as the time left asks
    bool paced = false;
    bool Moves() const { return paced || pixelsPerSecond > 0; }
};

// None for anything but a true or false word or a speed up to the fastest; 0 is No.
std::optional<PageScroll> ParseScroll(std::string_view text);
// The page's own; a bad one keeps the page still.
PageScroll ScrollOf(const PresentationPage& page);

}  // namespace pagelark

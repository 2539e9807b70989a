#pragma once
// Pages of the program's own that need no file and no network.

#include <string_view>

namespace pagelark {

// Black, with nothing to load: shown while no page is due and on a screen that cannot sleep.
inline constexpr std::string_view kBlackPage =
    "data:text/html,%3Chtml%20style%3D%22background%3A%23000%22%3E%3C%2Fhtml%3E";

}  // namespace pagelark

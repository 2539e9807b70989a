#pragma once
// Pages of the program's own that need no file and no network.

#include <string>
#include <string_view>

namespace pagelark {

// Text made safe to stand in markup.
std::string HtmlEscaped(std::string_view text);

// Black, with nothing to load: shown while no page is due and on a screen that cannot sleep.
inline constexpr std::string_view kBlackPage =
    "data:text/html,%3Chtml%20style%3D%22background%3A%23000%22%3E%3C%2Fhtml%3E";

// The program's black page, also as the engine reports it, its escapes decoded.
bool IsBlackPage(std::string_view address);

// Calm, shown while no page of the show can be loaded; why is the last failure, for those
// who may read it (a visitor browsing, an operator with the tool bar), empty for a passer-by.
std::string OwnOfflinePage(std::string_view why);
// Any of them, also as the engine reports it.
bool IsOwnOfflinePage(std::string_view address);

// Shown instead of the welcome when the show cannot start: what failed (a path or an
// address), why, and what the operator can do; every text escaped.
std::string OwnProblemPage(std::string_view what, std::string_view why, std::string_view todo);

}  // namespace pagelark

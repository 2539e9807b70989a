#pragma once
// Which addresses the kiosk's browsers load at all, decided by their scheme, so the kiosk, the
// configuration window and pagelark-tso agree on which pages can be shown.

#include <string>
#include <string_view>

namespace pagelark {

// The web, local files and the engine's own inner pages (which the address check decides
// on), in any letter case. Any other scheme would hand the address to another program, or run
// it as a script in the page on show ("javascript:").
bool SchemeLoads(std::string_view scheme);
// The scheme an address names as a browser reads it: "htps" for "htps://x", "" for a path or
// an address without one ("www.example.org" loads as a web address).
std::string_view SchemeOf(std::string_view address);
// Why the kiosk does not load the address, as an operator reads it: the kiosk does not load
// "htps:" addresses; empty when it does.
std::string WhyNotLoaded(std::string_view address);

// Where the engine puts a page that went to an address it blocks (an "about:" page but the
// blank one): a white page, never the page meant.
bool EngineBlocked(std::string_view address);

}  // namespace pagelark

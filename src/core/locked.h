#pragma once
// What a locked kiosk leaves a visitor: the show, and with an include list navigation within
// it. Nothing on the screen ends the program, opens the configuration window or reaches the
// machine's files; only the operator's `pagelark CONFIG` opens the window.

#include <string_view>

#include "model/toolbar_buttons.h"

namespace pagelark {

struct Presentation;

// Navigation mode only with an include list: a visitor then reaches only what it names.
bool NavigationOffered(bool locked, const Presentation& presentation);

// The buttons the tool bars show, from the records as edited. Locked: none on Tool Run, and on
// Tool Nav only those that move within what the include list allows (Back, Forward, Reload,
// Home, Play); none at all when navigation mode is not offered.
ToolbarButtons ShownButtons(const ToolbarButtons& records, bool locked, bool navigationOffered);

// A locked kiosk's own refusals: the engine's pages, and local files as top-level pages, unless
// the operator named them (an include entry, a page of the presentation, its home or idle page, the
// help folder). A local page's frames are the local file guard's.
bool LockedRefuses(const Presentation& presentation, std::string_view address,
                   std::string_view helpFolder, bool topLevel);

}  // namespace pagelark

#pragma once
// What the show plays, handed to the player whole: at the kiosk's start, by a save the show
// takes, a managed file's change and a published presentation's new version.

#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "settings/settings.h"
#include "storage/document.h"

namespace pagelark {

struct Show {
    Presentation presentation;
    MachineSettings machine;
    ToolbarButtons buttons;
    // The file it plays, in which the settings a presentation carries are looked up; the
    // configuration window edits a copy of it.
    Document document;
};

}  // namespace pagelark

#pragma once
// What the help tip shows and where: the text decision on every pointer move over a button,
// the tip's rectangle on screen, and the timer's check that the pointer is still over the
// tool bar in use.

#include <string>
#include <string_view>

#include "toolbars/toolbar_layout.h"

namespace pagelark {

struct PixelPoint {
    int x = 0;
    int y = 0;
};

enum class HelpTipAction {
    Nothing,  // keep whatever is on show
    Hide,     // hide the tip and forget its text
    Place,    // place and show TipText
};

struct HelpTipRequest {
    HelpTipAction action = HelpTipAction::Nothing;
    std::string tipText;  // for Place: the trimmed text with one blank on each side
};

// A text of blanks only hides the tip; the text already on show stays where it first
// appeared. tipShownBefore: the label has a caption, so there is a tip to hide.
HelpTipRequest DecideHelpTip(std::string_view text, std::string_view currentTipText,
                             bool tipShownBefore);

// The label pads the tip text once more, so the text stands between two blanks; in UTF-8, as
// the file's text reads in the configuration window.
std::string HelpTipLabelCaption(std::string_view tipText);

struct HelpTipPlacementInput {
    PixelPoint pointer;  // on the screen
    int labelWidth = 0;
    int labelHeight = 0;
    int screenWidth = 0;
    int screenHeight = 0;
};

// Just under the pointer and a little to its left, pushed back inside the right screen edge;
// just above the pointer when there is no room below, never under it. The left and top edges
// are not clamped: Left and Top may be negative.
PixelRect PlaceHelpTip(const HelpTipPlacementInput& input);

// Edges included; window is an outer rectangle.
bool PointerInsideWindow(const PixelRect& window, PixelPoint pointer);

// The timer's check: a visible tip goes once the pointer has left the tool bar in use (Tool
// Nav in navigation mode, Tool Run otherwise), even without a move over its background.
bool HelpTipMustHide(bool tipVisible, bool navigationMode, const PixelRect& toolNav,
                     const PixelRect& toolRun, PixelPoint pointer);

}  // namespace pagelark

#include "core/welcome_lines.h"

namespace pagelark {

namespace {

std::string ToolbarPart(const ReachFacts& facts) {
    switch (facts.policy) {
        case MouseMovePolicy::ShowToolRun:
            if (facts.toolRunShown) return "The tool bar is on the screen";
            break;
        case MouseMovePolicy::EnterNavigation:
            if (facts.toolNavShown) return "Move the mouse to show the tool bar";
            break;
        case MouseMovePolicy::EndShow:
            // A locked kiosk goes on whatever the mouse does.
            if (!facts.locked)
                return "Moving the mouse ends the show; this kiosk shows no tool bar";
            break;
    }
    return "This kiosk shows no tool bar";
}

}  // namespace

std::string WelcomeLine(const ReachFacts& facts) {
    return ToolbarPart(facts) + (facts.help ? "; press F1 for help." : ".");
}

std::string ConfigLine(const ReachFacts& facts) {
    if (facts.configButton) {
        return facts.policy == MouseMovePolicy::EnterNavigation
                   ? "Move the mouse and press Config on the tool bar to open the configuration "
                     "window."
                   : "Press Config on the tool bar to open the configuration window.";
    }
    // A running kiosk opens its window for a second start only while locked.
    if (facts.locked)
        return "Run \"pagelark CONFIG\" on this computer to open the configuration window.";
    return "End Pagelark and run \"pagelark CONFIG\" to open the configuration window.";
}

}  // namespace pagelark

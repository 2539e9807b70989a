#pragma once
// The lines that tell a newcomer how to reach the tool bar, the help and the configuration
// window, worded for what this kiosk really does on a mouse move and a key.

#include <string>

#include "model/modes.h"

namespace pagelark {

struct ReachFacts {
    MouseMovePolicy policy = MouseMovePolicy::EnterNavigation;
    bool toolRunShown = false;  // the screen saver tool bar floats over the show
    bool toolNavShown = false;  // navigation mode brings its tool bar
    bool help = false;          // F1 opens the help
    bool configButton = false;  // a tool bar that can be reached shows Config
    bool locked = false;
};

// One line: how the tool bar comes (or that there is none) and how the help does.
std::string WelcomeLine(const ReachFacts& facts);
// One line: how the configuration window opens.
std::string ConfigLine(const ReachFacts& facts);

}  // namespace pagelark

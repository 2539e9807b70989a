#pragma once
// The stored numbers of the main window's state and of what a mouse move does. Files and
// settings hold the numbers; a number outside the names is kept as it was read.

#include <cstdint>

namespace pagelark {

enum class WindowState : std::int16_t { Normal = 0, Minimized = 1, Maximized = 2 };

enum class MouseMovePolicy : std::int16_t {
    ShowToolRun = 0,      // the show goes on, Tool Run floats over it
    EnterNavigation = 1,  // the visitor takes over in navigation mode
    EndShow = 2,          // the program ends
};

}  // namespace pagelark

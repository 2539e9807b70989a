#pragma once
// The small values the player's ports pass: a point of the screen, the browsers' count, and
// the keys the player knows. Port headers include this one, never each other.

namespace pagelark {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The stage has three browsers, numbered 0 to 2.
inline constexpr int kBrowserCount = 3;

// Keys that mean something to the player, numbered as the Windows version's key events
// numbered them; every other key is Other and only counts as activity.
enum class KeyCode : int { Other = 0, Escape = 27, F1 = 112, F4 = 115, F10 = 121 };
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

}  // namespace pagelark

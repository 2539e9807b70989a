#pragma once
// The small values the player's ports pass: a point of the screen, the browsers' count, the
// keys the player knows and the kiosk's status. Port headers include this one, never each other.

#include <chrono>
#include <string>

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

// What the kiosk is doing, as the remote services report it.
struct KioskStatus {
    // "starting", "playing", "paused", "navigation", "config" or "ending".
    std::string state;
    int page = 0;  // the position of the page on show; 0 is the start page
    std::string address;
    std::string presentation;  // its file or its address
    std::string version;       // the published presentation's version; "" for a local file
    std::chrono::seconds uptime{0};
    std::string lastLoadError;  // the last address that failed to load, until one loads
    friend bool operator==(const KioskStatus&, const KioskStatus&) = default;
};

}  // namespace pagelark

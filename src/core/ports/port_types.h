#pragma once
// The small values the player's ports pass: a point of the screen, the browsers' count, the
// keys the player knows, the commands and the kiosk's status. Port headers include this one,
// never each other.

#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "platform/result.h"

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

// Every command of the tool bars, the menus, the keys, D-Bus and MQTT.
enum class Command {
    Play,
    Pause,
    Previous,
    Next,
    Reload,
    Stop,
    Back,
    Forward,
    Home,
    Navigation,
    Quit,
    Config,
    Help,
    Browse,       // an address the visitor typed, unchanged
    ShowAddress,  // an address a remote service asked to show
    Snapshot,     // a picture of the screen into a file a remote service named
    ScreenOn,     // the screen on or off until the schedule's next change
    ScreenOff,
};

// A visitor at the screen is never told why a command did nothing; a remote service is, and
// is refused more: its play commands while an address it asked for loads, its Play unless
// the show is paused.
enum class CommandSource { Screen, Remote };

// Hears once that a command was carried out, or why not.
using CommandAnswer = std::function<void(const Result<>&)>;

struct CommandCall {
    CommandCall(Command what, CommandSource from = CommandSource::Screen,  // NOLINT
                std::string with = {}, CommandAnswer then = {})
        : command(what), source(from), argument(std::move(with)), answer(std::move(then)) {}

    Command command = Command::Play;
    CommandSource source = CommandSource::Screen;
    // Browse's and ShowAddress's address, Snapshot's file.
    std::string argument;
    // ShowAddress's, once the player took it: hears once the page is on show, or why it could
    // not be. The remote services' port calls it for every command.
    CommandAnswer answer;
};

// What the kiosk is doing, as the remote services report it.
struct KioskStatus {
    // "starting", "playing", "paused", "offline", "problem", "navigation", "dark", "config" or
    // "ending".
    std::string state;
    int page = 0;  // the position of the page on show; 0 is the start page
    std::string address;
    std::string presentation;  // its file or its address
    std::string version;       // the published presentation's version; "" for a local file
    std::chrono::seconds uptime{0};
    std::string lastLoadError;  // the last address that failed to load, until one loads
    bool screenOn = true;       // false while the display sleeps
    friend bool operator==(const KioskStatus&, const KioskStatus&) = default;
};

}  // namespace pagelark

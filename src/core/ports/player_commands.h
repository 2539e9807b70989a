#pragma once
// An inward port of the player: what the windows and the remote services may ask of it; the
// player implements it, so neither knows the player itself.

#include <functional>
#include <string>
#include <utility>

#include "core/ports/port_types.h"
#include "platform/result.h"

namespace pagelark {

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
};

// A visitor at the screen is never told why a command did nothing; a remote service is, and
// is refused more: while an address it asked for loads, and while a visitor browses.
enum class CommandSource { Screen, Remote };

// Hears once whether a command that takes time was carried out.
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

class PlayerCommands {
  public:
    virtual ~PlayerCommands() = default;
    // Carries the command out, or answers why not.
    virtual Result<> Run(const CommandCall& request) = 0;
    // A command of the screen: a visitor sees what it did, not why it did nothing.
    void RunFromScreen(const CommandCall& request) { static_cast<void>(Run(request)); }
    // shift is a combination of the masks of port_types.h.
    virtual void HandleKey(KeyCode key, int shift) = 0;
    // The pointer moved over one of the program's own windows.
    virtual void NoteActivity() = 0;
    // A finger on the screen: a move of the pointer wherever it lands.
    virtual void NoteTouch() = 0;
    // A close from outside is refused unless a Quit button is visible.
    virtual bool QuitAllowed() const = 0;
    // The program is ending, so its windows may close.
    virtual bool Finishing() const = 0;
};

}  // namespace pagelark

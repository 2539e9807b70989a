#pragma once
// An inward port of the player: what the windows and the remote services may ask of it; the
// player implements it, so neither knows the player itself.

#include "core/ports/port_types.h"

namespace pagelark {

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
    // Any key, click or touch, before it goes anywhere: true when it woke the dark screen, and
    // then it reaches no page and counts for nothing else.
    virtual bool TakeWakingInput() = 0;
    // A close from outside is refused unless a Quit button is visible.
    virtual bool QuitAllowed() const = 0;
    // The program is ending, so its windows may close.
    virtual bool Finishing() const = 0;
};

}  // namespace pagelark

#pragma once
// An inward port of the player: what the windows may ask of it; the player implements it, so no
// window knows the player itself.

#include <string>

#include "core/ports/port_types.h"

namespace pagelark {

// The commands of the tool bars, the keys and the pointer.
class PlayerCommands {
  public:
    virtual ~PlayerCommands() = default;
    virtual void CmdPlay() = 0;
    virtual void CmdPause() = 0;
    virtual void CmdPrevious() = 0;
    virtual void CmdNext() = 0;
    virtual void CmdQuit() = 0;
    virtual void CmdConfig() = 0;
    virtual void CmdHelp() = 0;
    virtual void CmdBack() = 0;
    virtual void CmdForward() = 0;
    virtual void CmdStop() = 0;
    virtual void CmdReload() = 0;
    virtual void GoHome() = 0;
    virtual void SwitchToNavigation() = 0;
    // An address the visitor typed, unchanged.
    virtual void BrowseAddress(const std::string& address) = 0;
    // shift is a combination of the masks above.
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

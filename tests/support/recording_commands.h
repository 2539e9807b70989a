#pragma once
// The player's commands as the windows send them, one line each.

#include <string>
#include <vector>

#include "core/ports/player_commands.h"

namespace pagelark::testing {

class RecordingCommands final : public PlayerCommands {
  public:
    void CmdPlay() override { calls.push_back("Play"); }
    void CmdPause() override { calls.push_back("Pause"); }
    void CmdPrevious() override { calls.push_back("Previous"); }
    void CmdNext() override { calls.push_back("Next"); }
    void CmdQuit() override { calls.push_back("Quit"); }
    void CmdConfig() override { calls.push_back("Config"); }
    void CmdHelp() override { calls.push_back("Help"); }
    void CmdBack() override { calls.push_back("Back"); }
    void CmdForward() override { calls.push_back("Forward"); }
    void CmdStop() override { calls.push_back("Stop"); }
    void CmdReload() override { calls.push_back("Reload"); }
    void GoHome() override { calls.push_back("Home"); }
    void SwitchToNavigation() override { calls.push_back("Navigation"); }
    void BrowseAddress(const std::string& address) override { calls.push_back("Go " + address); }
    void HandleKey(KeyCode key, int shift) override {
        calls.push_back("Key " + std::to_string(static_cast<int>(key)) + "/" +
                        std::to_string(shift));
    }
    void NoteActivity() override { ++activity; }
    void NoteTouch() override { calls.push_back("Touch"); }
    bool QuitAllowed() const override { return true; }
    bool Finishing() const override { return finishing; }

    std::vector<std::string> calls;
    int activity = 0;
    bool finishing = false;
};

}  // namespace pagelark::testing

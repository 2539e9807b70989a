#pragma once
// The player's commands as the windows send them, one line each.

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/ports/player_commands.h"

namespace pagelark::testing {

class RecordingCommands final : public PlayerCommands {
  public:
    Result<> Run(const CommandCall& request) override {
        static constexpr const char* kNames[] = {
            "Play", "Pause",   "Previous", "Next",       "Reload",   "Stop",
            "Back", "Forward", "Home",     "Navigation", "Quit",     "Config",
            "Help", "Go",      "Show",     "Snapshot",   "ScreenOn", "ScreenOff"};
        static_assert(std::size(kNames) == static_cast<std::size_t>(Command::ScreenOff) + 1);
        const char* name = kNames[static_cast<int>(request.command)];
        calls.push_back(name + (request.command == Command::Browse ? " " + request.argument : ""));
        return Done();
    }
    void HandleKey(KeyCode key, int shift) override {
        calls.push_back("Key " + std::to_string(static_cast<int>(key)) + "/" +
                        std::to_string(shift));
    }
    void NoteActivity() override { ++activity; }
    void NoteTouch() override { calls.push_back("Touch"); }
    bool TakeWakingInput() override {
        if (dark) ++wakes;
        return std::exchange(dark, false);
    }
    bool QuitAllowed() const override { return true; }
    bool Finishing() const override { return false; }

    std::vector<std::string> calls;
    int activity = 0;
    bool dark = false;  // the next input wakes the screen
    int wakes = 0;
};

}  // namespace pagelark::testing

#include "toolbars/toolbar_windows.h"

#include "core/ports/player_commands.h"

namespace pagelark {

namespace {

// Client height as designed: the button row.
constexpr int kToolRunClientHeight = kDesignedRowHeight;

}  // namespace

// ---- ToolRunWindow ----

ToolRunWindow::ToolRunWindow(HelpTipWindow& tip, const ToolbarButtons& buttons,
                             PlayerCommands& commands, const std::string& startupFolder)
    : ToolbarWindow(tip, buttons.ToolRunButtons, commands, "ToolRun", kToolRunBorder,
                    kToolRunClientHeight, startupFolder) {}

Command ToolRunWindow::CommandOf(int index) const {
    switch (static_cast<ToolRunSlot>(index)) {
        case ToolRunSlot::Play:
            return Command::Play;
        case ToolRunSlot::Pause:
            return Command::Pause;
        case ToolRunSlot::Previous:
            return Command::Previous;
        case ToolRunSlot::Next:
            return Command::Next;
        case ToolRunSlot::Quit:
            return Command::Quit;
        case ToolRunSlot::Config:
            return Command::Config;
        case ToolRunSlot::Navigation:
            return Command::Navigation;
        case ToolRunSlot::Help:
            break;
    }
    return Command::Help;
}

}  // namespace pagelark

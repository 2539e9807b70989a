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

void ToolRunWindow::RunCommand(PlayerCommands& commands, int index) {
    switch (static_cast<ToolRunSlot>(index)) {
        case ToolRunSlot::Play:
            commands.CmdPlay();
            break;
        case ToolRunSlot::Pause:
            commands.CmdPause();
            break;
        case ToolRunSlot::Previous:
            commands.CmdPrevious();
            break;
        case ToolRunSlot::Next:
            commands.CmdNext();
            break;
        case ToolRunSlot::Quit:
            commands.CmdQuit();
            break;
        case ToolRunSlot::Config:
            commands.CmdConfig();
            break;
        case ToolRunSlot::Navigation:
            commands.SwitchToNavigation();
            break;
        case ToolRunSlot::Help:
            commands.CmdHelp();
            break;
    }
}

}  // namespace pagelark

#pragma once
// The button records of both tool bars and how their settings are read and stored.

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace pagelark {

struct ToolbarButton {
    std::string Name;     // fixed word of the slot; suffix of its settings section
    std::string HelpTip;  // the Name unless set
    std::string Icon;     // picture file replacing the default picture; "" for the default
    bool Visible = false;
};

// The buttons of each bar in their order on screen; stored files name them by their word.
enum class ToolNavSlot : std::size_t {
    Back,
    Forward,
    Stop,
    Reload,
    Home,
    Play,
    Quit,
    Config,
    Help
};
enum class ToolRunSlot : std::size_t {
    Play,
    Pause,
    Previous,
    Next,
    Quit,
    Config,
    Navigation,
    Help
};
inline constexpr std::size_t kToolNavSlots = 9;
inline constexpr std::size_t kToolRunSlots = 8;

inline constexpr std::array<std::string_view, kToolNavSlots> kToolNavNames = {
    "Back", "Forward", "Stop", "Reload", "Home", "Play", "Quit", "Config", "Help"};
inline constexpr std::array<std::string_view, kToolRunSlots> kToolRunNames = {
    "Play", "Pause", "Previous", "Next", "Quit", "Config", "Navigation", "Help"};
inline constexpr std::string_view kToolNavPrefix = "ToolNav";
inline constexpr std::string_view kToolRunPrefix = "ToolRun";
inline constexpr std::string_view kToolNavUrlSection = "ToolNavURL";

struct ToolbarButtons {
    std::array<ToolbarButton, kToolNavSlots> ToolNavButtons;
    std::array<ToolbarButton, kToolRunSlots> ToolRunButtons;
    bool ToolNavUrlVisible = true;

    const ToolbarButton& Nav(ToolNavSlot slot) const {
        return ToolNavButtons[static_cast<std::size_t>(slot)];
    }
    const ToolbarButton& Run(ToolRunSlot slot) const {
        return ToolRunButtons[static_cast<std::size_t>(slot)];
    }
};

// Fresh records: Name and HelpTip the slot's word, no Icon, not yet visible.
void CreateButtonLists(ToolbarButtons& buttons);

// A stored Icon as a usable path: Windows separators read as "/", relative paths taken
// from the start-up folder.
std::string ResolveIconPath(std::string_view icon, const std::string& startupFolder);
// A picture chosen in a file dialog as an Icon to store: relative to the start-up folder
// when it lies under it (after "." and ".." are worked out), unless that folder is the root.
std::string StoredIconPath(std::string_view icon, const std::string& startupFolder);

}  // namespace pagelark

#include "document/toolbar_buttons.h"

#include <algorithm>

#include "document/file_utils.h"
#include "document/settings.h"
#include "document/text.h"

namespace pagelark {
namespace {

template <std::size_t N>
void CreateList(std::array<ToolbarButton, N>& list, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
        list[i] = ToolbarButton{std::string(names[i]), std::string(names[i]), "", false};
    }
}

}  // namespace

void CreateButtonLists(ToolbarButtons& buttons) {
    CreateList(buttons.ToolNavButtons, kToolNavNames);
    CreateList(buttons.ToolRunButtons, kToolRunNames);
}

std::string ResolveIconPath(std::string_view icon, const std::string& startupFolder) {
    std::string path(icon);
    std::replace(path.begin(), path.end(), '\\', kPathSeparator);
    if (!path.empty() && !IsAbsolutePath(path)) path = startupFolder + path;
    return path;
}

std::string StoredIconPath(std::string_view icon, const std::string& startupFolder) {
    if (!startupFolder.empty() && icon.starts_with(startupFolder))
        icon.remove_prefix(startupFolder.size());
    return std::string(icon);
}

void LoadButtonSettings(Settings& settings, std::span<ToolbarButton> list, std::size_t first,
                        std::size_t last, std::string_view prefix) {
    for (std::size_t i = first; i <= last && i < list.size(); ++i) {
        ToolbarButton& button = list[i];
        const std::string key = std::string(prefix) + button.Name;
        std::string tip = settings.ReadSetting("HelpTip", key);
        if (!tip.empty()) button.HelpTip = std::move(tip);
        button.Icon = settings.ReadSetting("Icon", key);
        button.Visible = ParseBool(settings.ReadSetting("Visible", key), true);
    }
}

void ReadToolbarButtons(Settings& settings, ToolbarButtons& buttons) {
    CreateButtonLists(buttons);
    LoadButtonSettings(settings, buttons.ToolNavButtons, 0, 8, kToolNavPrefix);
    LoadButtonSettings(settings, buttons.ToolRunButtons, 0, 7, kToolRunPrefix);
    buttons.ToolNavUrlVisible =
        ParseBool(settings.ReadSetting("Visible", kToolNavUrlSection), true);
}

}  // namespace pagelark

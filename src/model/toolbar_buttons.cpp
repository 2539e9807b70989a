#include "model/toolbar_buttons.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/paths.h"

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
    // Every path is under the root: relative to it, a picture would be lost from any other
    // start-up folder.
    const std::string folder = WithTrailingSeparator(NormalPath(startupFolder));
    if (!IsAbsolutePath(icon) || !IsAbsolutePath(folder) ||
        folder.find_first_not_of(kPathSeparator) == std::string::npos)
        return std::string(icon);
    const std::string path = NormalPath(icon);
    if (path.size() <= folder.size() || !path.starts_with(folder)) return std::string(icon);
    std::string stored = path.substr(folder.size());
    // Windows' normal form has backslashes only: a path written with slashes keeps them.
    if (icon.substr(std::min(folder.size(), icon.size())).find('\\') == std::string_view::npos)
        std::replace(stored.begin(), stored.end(), '\\', '/');
    return stored;
}

}  // namespace pagelark

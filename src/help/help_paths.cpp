#include "help/help_paths.h"

namespace pagelark {

std::string HelpFolderTemplate() {
    return std::string(kTempPathPlaceholder) + "Pagelark";
}

std::string ExpandTempPath(std::string_view text, std::string_view tempDir) {
    std::string result;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(kTempPathPlaceholder, start);
        if (at == std::string_view::npos) break;
        result.append(text.substr(start, at - start));
        result.append(tempDir);
        start = at + kTempPathPlaceholder.size();
    }
    result.append(text.substr(start));
    return result;
}

HelpDocumentList BuildHelpDocuments(std::string_view tempDir) {
    const std::string folder = HelpFolderTemplate();
    HelpDocumentList documents;
    const std::array<std::string_view, 4> names = {"index.html", "pagelark.html", "link.html",
                                                   "documentation.html"};
    for (std::size_t i = 0; i < names.size(); ++i)
        documents[i] = ExpandTempPath(folder + "/" + std::string(names[i]), tempDir);
    return documents;
}

}  // namespace pagelark

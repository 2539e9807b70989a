#pragma once
// Where the help pages live: a folder in the temporary folder, named by a template that
// carries the temporary folder as a placeholder.

#include <array>
#include <string>
#include <string_view>

namespace pagelark {

inline constexpr std::string_view kTempPathPlaceholder = "{TempPath}/";

// "{TempPath}/Pagelark".
std::string HelpFolderTemplate();

// Replaces every placeholder (exact case) by tempDir, which ends with a separator.
std::string ExpandTempPath(std::string_view text, std::string_view tempDir);

// The help's start pages: 0 the index (home page), 1 the product page, 2 the link page,
// 3 the documentation page.
using HelpDocumentList = std::array<std::string, 4>;
inline constexpr std::size_t kHelpIndexPage = 0;
inline constexpr std::size_t kHelpProductPage = 1;
inline constexpr std::size_t kHelpDocumentationPage = 3;
HelpDocumentList BuildHelpDocuments(std::string_view tempDir);

}  // namespace pagelark

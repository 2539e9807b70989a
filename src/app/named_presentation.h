#pragma once
// The presentation a run plays: the one the command line names, a file or a presentation
// published on a web server, and the file that plays for it.

#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The current folder, with its trailing separator: relative paths start from it.
std::string StartupFolder();

// The presentation the command line names (--config's FILE when given), as an absolute path
// or a web address.
std::string NamedPresentation(std::string_view raw, const std::optional<std::string>& configFile,
                              const std::string& startupFolder, const std::string& defaultFile);

// The address of a presentation published on a web server, with this machine's names in it;
// "" for a file.
std::string PublishedAddress(const std::string& file);

// Where the copies of published presentations are kept.
std::string CacheFolder();

// What plays, and holds the settings a presentation carries: the file, or the kept copy of a
// published presentation.
std::string LocalFile(const std::string& file);

}  // namespace pagelark

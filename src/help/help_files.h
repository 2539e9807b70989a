#pragma once
// The help's pages and pictures, carried inside the program and written to the help folder
// at start so the kiosk's own browsers can show them; deleted again at the end.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

inline constexpr std::string_view kHtmlResource = "HTMLFILE";
inline constexpr std::string_view kGifResource = "GIFIMG";

struct HelpFile {
    std::int32_t id = 0;
    std::string type;  // kHtmlResource or kGifResource
    std::string path;  // the help folder template, "/" and the name, in double quotes
};

// Where the embedded files come from.
class HelpResources {
  public:
    virtual ~HelpResources() = default;
    // The bytes of the resource, or nothing when the program carries no such resource.
    virtual std::optional<std::string> Load(std::int32_t id, std::string_view type) const = 0;
};

// Every help file the program knows, by ascending resource id.
std::vector<HelpFile> BuildHelpFileTable();

// Creates the help folder in tempDir and writes every file the program carries. False when
// the folder cannot be used: it exists as a link or belongs to another user (the address
// check lets every page in it through, so nobody else may place pages there).
bool ExtractHelpFiles(const std::vector<HelpFile>& table, const HelpResources& resources,
                      std::string_view tempDir);

// Writes one file; a missing resource or a failed write is skipped silently.
void ExtractHelpFile(std::int32_t id, std::string_view type, std::string_view path,
                     const HelpResources& resources, std::string_view tempDir);

// A help page of another run's help folder (a start from a terminal and one as a service have
// different temporary folders), gone with that run: the same page of helpFolder. Any other
// address, or a file that exists, is returned as it is.
std::string RelocatedHelpPage(std::string_view address, std::string_view helpFolder);

// Puts markup (escaped already) into the extracted welcome page between its markers: the
// line on reaching the tool bar and the help, which depends on this kiosk's settings.
void WriteWelcomeLine(std::string_view helpFolder, std::string_view markup);

// Deletes the files of the table and then the folder (which stays when it holds other files).
void DeleteHelpFiles(const std::vector<HelpFile>& table, std::string_view tempDir);

}  // namespace pagelark

#include "help/help_files.h"

#include <algorithm>
#include <array>

#include "help/help_paths.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace pagelark {
namespace {

struct Entry {
    std::int32_t id;
    std::string_view name;
};

constexpr std::array<Entry, 22> kPages = {{
    {102, "index.html"},
    {104, "link.html"},
    {114, "screen-saver-toolbar.html"},
    {115, "navigation-toolbar.html"},
    {116, "configuration-dialog.html"},
    {117, "documentation.html"},
    {134, "general-options.html"},
    {135, "page-list.html"},
    {136, "include-list.html"},
    {137, "exclude-list.html"},
    {138, "about-dialog.html"},
    {150, "tessaro.html"},
    {151, "pagelark.html"},
    {153, "properties-dialog.html"},
    {165, "screen-saver-toolbar-dialog.html"},
    {166, "navigation-toolbar-dialog.html"},
    {167, "reboot-dialog.html"},
    {168, "include-properties.html"},
    {169, "exclude-properties.html"},
    {170, "screen-saver-toolbar-properties.html"},
    {171, "navigation-toolbar-properties.html"},
    {177, "schedule-dialog.html"},
}};

constexpr std::array<Entry, 52> kPictures = {{
    {103, "tessarob_.gif"},
    {105, "config02.gif"},
    {106, "ieget_animated.gif"},
    {107, "logo_small.gif"},
    {109, "screen_.gif"},
    {110, "subscrib.gif"},
    {111, "toolnav.gif"},
    {112, "toolrun.gif"},
    {113, "background.gif"},
    {119, "play.gif"},
    {120, "pause.gif"},
    {121, "prev.gif"},
    {122, "next_.gif"},
    {123, "stop__.gif"},
    {124, "record.gif"},
    {125, "back_.gif"},
    {126, "next__.gif"},
    {127, "reload_.gif"},
    {128, "home_.gif"},
    {129, "config00.gif"},
    {130, "cancel.gif"},
    {131, "ok.gif"},
    {132, "gettessaro.gif"},
    {133, "stop_.gif"},
    {139, "config01.gif"},
    {140, "config03.gif"},
    {141, "config04.gif"},
    {142, "config05.gif"},
    {143, "up.gif"},
    {144, "down.gif"},
    {145, "insert.gif"},
    {146, "delete.gif"},
    {147, "grab.gif"},
    {148, "view.gif"},
    {149, "props.gif"},
    {152, "tessaroc_.gif"},
    {154, "propurl.gif"},
    {155, "nav.gif"},
    {156, "help.gif"},
    {157, "screen01.gif"},
    {158, "screen02.gif"},
    {159, "screen03.gif"},
    {160, "screen04.gif"},
    {161, "tessaro.gif"},
    {162, "config06.gif"},
    {163, "config07.gif"},
    {164, "config08.gif"},
    {172, "propinclude.gif"},
    {173, "proptoolnavconfig.gif"},
    {174, "proptoolnavurl.gif"},
    {176, "propexclude.gif"},
    {178, "schedule.gif"},
}};

// The stored path expanded, with its enclosing quotes removed.
std::string FileName(std::string_view path, std::string_view tempDir) {
    std::string name = ExpandTempPath(path, tempDir);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    return name;
}

std::string HelpFolder(std::string_view tempDir) {
    return ExpandTempPath(HelpFolderTemplate(), tempDir);
}

}  // namespace

std::vector<HelpFile> BuildHelpFileTable() {
    std::vector<HelpFile> table;
    const std::string folder = HelpFolderTemplate();
    auto add = [&](const Entry& entry, std::string_view type) {
        table.push_back(HelpFile{entry.id, std::string(type),
                                 "\"" + folder + "/" + std::string(entry.name) + "\""});
    };
    for (const auto& page : kPages)
        add(page, kHtmlResource);
    for (const auto& picture : kPictures)
        add(picture, kGifResource);
    std::sort(table.begin(), table.end(),
              [](const HelpFile& a, const HelpFile& b) { return a.id < b.id; });
    return table;
}

bool ExtractHelpFiles(const std::vector<HelpFile>& table, const HelpResources& resources,
                      std::string_view tempDir) {
    const std::string folder = HelpFolder(tempDir);
    // The address check lets every page in the folder through: nobody else may own it.
    if (!MakePrivateFolder(folder)) return false;
    for (const HelpFile& file : table)
        ExtractHelpFile(file.id, file.type, file.path, resources, tempDir);
    return true;
}

void ExtractHelpFile(std::int32_t id, std::string_view type, std::string_view path,
                     const HelpResources& resources, std::string_view tempDir) {
    const auto bytes = resources.Load(id, type);
    if (!bytes) return;
    WritePrivateFile(FileName(path, tempDir), *bytes);
}

std::string RelocatedHelpPage(std::string_view address, std::string_view helpFolder) {
    // A place in the page (#setup) goes with it.
    const std::string_view page = address.substr(0, address.find('#'));
    const std::string_view place = address.substr(page.size());
    const auto slash = page.find_last_of(kPathSeparators);
    if (!IsAbsolutePath(page) || slash == std::string_view::npos || helpFolder.empty())
        return std::string(address);
    const std::string_view folder = page.substr(0, slash), name = page.substr(slash + 1);
    const auto parent = folder.find_last_of(kPathSeparators);
    const bool helpPage = std::any_of(kPages.begin(), kPages.end(),
                                      [&](const Entry& entry) { return entry.name == name; });
    if (!helpPage || parent == std::string_view::npos || folder.substr(parent + 1) != "Pagelark" ||
        folder == helpFolder || FileExists(page))
        return std::string(address);
    return WithTrailingSeparator(helpFolder) + std::string(name) + std::string(place);
}

void WriteWelcomeLine(std::string_view helpFolder, std::string_view markup) {
    static constexpr std::string_view kStart = "<!--reach-->", kEnd = "<!--/reach-->";
    if (helpFolder.empty()) return;
    const std::string path = std::string(helpFolder) + "/index.html";
    const ReadResult read = ReadWholeFile(path);
    std::string text = read.data;
    const std::size_t start = text.find(kStart), end = text.find(kEnd);
    if (read.status != ReadStatus::Ok || start == std::string::npos || end < start) return;
    text.replace(start + kStart.size(), end - start - kStart.size(), markup);
    WritePrivateFile(path, text);
}

void DeleteHelpFiles(const std::vector<HelpFile>& table, std::string_view tempDir) {
    const std::string folder = HelpFolder(tempDir);
    if (!IsOwnFolder(folder)) return;  // never delete through someone else's folder
    for (const HelpFile& file : table)
        RemoveFile(FileName(file.path, tempDir));
    RemoveFolder(folder);
}

}  // namespace pagelark

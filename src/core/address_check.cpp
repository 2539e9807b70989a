#include "core/address_check.h"

#include <string>

#include "document/presentation.h"
#include "document/profile.h"
#include "document/text.h"

namespace pagelark {

bool PrefixMatches(std::string_view entry, std::string_view address) {
    return !entry.empty() && StartsWithNoCase(address, entry);
}

namespace {

// The folder itself or a path inside it, whole components only: "/tmp/x/PagelarkEvil" and
// "/tmp/x/Pagelark/../other" are not in "/tmp/x/Pagelark".
bool InFolder(std::string_view address, std::string_view folder) {
    if (!PrefixMatches(folder, address)) return false;
    const std::string_view rest = address.substr(folder.size());
    if (rest.empty()) return true;
    return rest[0] == '/' && rest.find("/..") == std::string_view::npos;
}

}  // namespace

bool InHelpFolder(std::string_view address, std::string_view helpFolder) {
    // Without a folder the file URL prefix below would be "file://" and pass every file.
    if (helpFolder.empty()) return false;
    // The program sends the help pages as paths, but the engine reports what it loads as
    // file URLs, and the check also runs on what the engine reports.
    return InFolder(address, helpFolder) || InFolder(address, "file://" + std::string(helpFolder));
}

bool HasUserInfo(std::string_view address) {
    const auto scheme = address.find("://");
    if (scheme == std::string_view::npos) return false;
    const auto authority = address.substr(scheme + 3);
    return authority.substr(0, authority.find_first_of("/?#")).find('@') != std::string_view::npos;
}

bool IsEnginePage(std::string_view address) {
    for (std::string_view scheme : {"view-source:", "chrome:", "devtools:", "chrome-devtools:"}) {
        if (StartsWithNoCase(address, scheme)) return true;
    }
    return false;
}

bool NavigationBlocked(const Presentation& presentation, std::string_view address,
                       std::string_view helpFolder) {
    if (!presentation.AllowRestrictions) return false;
    const auto included = [&] {
        for (const std::string& entry : presentation.Include) {
            if (PrefixMatches(entry, address)) return true;
        }
        return false;
    };
    bool cancel = false;
    if (!presentation.Include.empty() && !InHelpFolder(address, helpFolder)) {
        // "http://allowed.example@elsewhere.example/" starts like an allowed address but
        // goes elsewhere.
        cancel = HasUserInfo(address) || !included();
    }
    // The engine's inner pages (source, settings, developer tools) only when listed.
    if (IsEnginePage(address) && !included()) cancel = true;
    for (const std::string& entry : presentation.Exclude) {
        if (PrefixMatches(entry, address)) return true;
    }
    return cancel;
}

bool IsSpecialURL(std::string_view specialURL, std::string_view address) {
    ItemWalker walker(specialURL, ",");
    std::string item;
    while (walker.Next(item)) {
        if (item.size() == address.size() && EqualsNoCase(item, address)) return true;
    }
    return false;
}

bool CountsAsActivity(bool navigationMode, std::string_view address, std::string_view sentAddress,
                      std::string_view specialURL) {
    return navigationMode && !EqualsNoCase(address, sentAddress) &&
           !IsSpecialURL(specialURL, address);
}

}  // namespace pagelark

#include "core/address_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ini/ini_store.h"
#include "ini/stored_values.h"
#include "model/presentation.h"

namespace pagelark {

bool PrefixMatches(std::string_view entry, std::string_view address) {
    return !entry.empty() && StartsWithNoCase(address, entry);
}

namespace {

bool IsUnreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Escapes of unreserved characters decoded, every other escape kept in upper case.
std::string DecodeUnreserved(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(text[i + 2]) : -1;
        if (low < 0) {
            out += text[i];
            continue;
        }
        const char decoded = static_cast<char>(high * 16 + low);
        if (IsUnreserved(decoded)) {
            out += decoded;
        } else {
            out += '%';
            out += UpperAscii(text[i + 1]);
            out += UpperAscii(text[i + 2]);
        }
        i += 2;
    }
    return out;
}

// Empty, "." and ".." segments resolved as servers do; a climb above the root stays there.
std::string ResolveSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    bool endsInFolder = false;
    std::size_t start = path.starts_with('/') ? 1 : 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view segment = path.substr(start, end - start);
        endsInFolder = segment.empty() || segment == "." || segment == "..";
        if (segment == ".." && !kept.empty()) kept.pop_back();
        if (!endsInFolder) kept.push_back(segment);
        start = end + 1;
    }
    std::string out = path.starts_with('/') ? "/" : "";
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (k > 0) out += '/';
        out += kept[k];
    }
    if (endsInFolder && !kept.empty()) out += '/';
    return out;
}

// The folder itself or a path inside it, whole components only: "/tmp/x/PagelarkEvil" and
// "/tmp/x/Pagelark/../other" are not in "/tmp/x/Pagelark".
bool InFolder(std::string_view address, std::string_view folder) {
    if (!PrefixMatches(folder, address)) return false;
    const std::string_view rest = address.substr(folder.size());
    if (rest.empty()) return true;
    return rest[0] == '/' && rest.find("/..") == std::string_view::npos;
}

}  // namespace

std::string NormalizeAddress(std::string_view address) {
    const auto colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0 || address.substr(colon + 1, 2) != "//")
        return std::string(address);
    const std::string scheme = ToLower(address.substr(0, colon));
    const std::size_t authorityStart = colon + 3;
    // Browsers read a backslash in a web or file address as a slash.
    std::string rest(address.substr(authorityStart));
    const bool special = scheme == "http" || scheme == "https" || scheme == "file";
    const auto pathEnd = std::min(rest.find_first_of("?#"), rest.size());
    if (special) std::replace(rest.begin(), rest.begin() + static_cast<long>(pathEnd), '\\', '/');
    const auto authorityEnd = std::min(rest.find('/'), pathEnd);
    std::string authority = ToLower(DecodeUnreserved(rest.substr(0, authorityEnd)));
    // The engine loads "file://localhost/x" as "file:///x": one file, one address.
    if (scheme == "file" && authority == "localhost" && authorityEnd < rest.size())
        authority.clear();
    // Only once the host is complete: the entry "http://a:80" is also a prefix of "http://a:8080".
    for (const auto& [name, port] : {std::pair{"http", ":80"}, std::pair{"https", ":443"}}) {
        if (scheme == name && authority.ends_with(port) && authorityEnd < rest.size())
            authority.resize(authority.size() - std::string_view(port).size());
    }
    return scheme + "://" + authority +
           ResolveSegments(DecodeUnreserved(rest.substr(authorityEnd, pathEnd - authorityEnd))) +
           rest.substr(pathEnd);
}

namespace {

// The help folder, a folder in it or a page of it.
bool UnderHelpFolder(std::string_view address, std::string_view helpFolder) {
    // Without a folder the file URL prefix below would be "file://" and pass every file.
    if (helpFolder.empty()) return false;
    // The program sends the help pages as paths, but the engine reports what it loads as
    // file URLs, and the check also runs on what the engine reports.
    return InFolder(address, helpFolder) || InFolder(address, "file://" + std::string(helpFolder));
}

// The engine shows a folder as a listing of its files.
bool NamesFolder(std::string_view address, std::string_view folder) {
    const std::string_view path = address.substr(0, address.find_first_of("?#"));
    return path.ends_with('/') || EqualsNoCase(path, folder) ||
           EqualsNoCase(path, "file://" + std::string(folder));
}

}  // namespace

bool InHelpFolder(std::string_view address, std::string_view helpFolder) {
    return UnderHelpFolder(address, helpFolder) && !NamesFolder(address, helpFolder);
}

bool LocalLoadAllowed(LocalLoad kind, std::string_view pagePath, std::string_view filePath) {
    switch (kind) {
        case LocalLoad::ScriptRead:
            return false;
        case LocalLoad::Document: {
            const auto slash = pagePath.rfind('/');
            return slash != std::string_view::npos && InFolder(filePath, pagePath.substr(0, slash));
        }
        case LocalLoad::Display:
            break;
    }
    return true;
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
    const std::string normalized = NormalizeAddress(address);
    // Whatever the lists: the help shows its pages, not a listing of its files.
    if (UnderHelpFolder(normalized, helpFolder) && NamesFolder(normalized, helpFolder)) return true;
    if (!presentation.AllowRestrictions) return false;
    const auto listed = [&](const std::vector<std::string>& list) {
        for (const std::string& entry : list) {
            if (PrefixMatches(NormalizeAddress(entry), normalized)) return true;
        }
        return false;
    };
    const auto included = [&] { return listed(presentation.Include); };
    bool cancel = false;
    if (!presentation.Include.empty() && !InHelpFolder(normalized, helpFolder)) {
        // "http://allowed.example@elsewhere.example/" starts like an allowed address but
        // goes elsewhere.
        cancel = HasUserInfo(address) || !included();
    }
    // The engine's inner pages (source, settings, developer tools) only when listed.
    if (IsEnginePage(address) && !included()) cancel = true;
    return cancel || listed(presentation.Exclude);
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

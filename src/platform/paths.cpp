#include "platform/paths.h"

#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#ifdef _WIN32
#include "platform/windows/wide.h"
#endif

namespace pagelark {
namespace {

bool IsSeparator(char c) {
    return kPathSeparators.find(c) != std::string_view::npos;
}

}  // namespace

bool IsUncPath(std::string_view path) {
    return path.starts_with("\\\\");
}

std::string ShareRoot(std::string_view path) {
    // "\\server\share\rest": the server and share are the third and fourth items.
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (items.size() < 4) {
        const auto end = path.find('\\', start);
        items.push_back(path.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    items.resize(4);
    return "\\\\" + std::string(items[2]) + "\\" + std::string(items[3]);
}

bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
    // "\\folder" (the current drive's) and "C:\\folder"; "C:folder" is relative to C:'s
    // working folder.
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (drive && path[1] == ':' && IsSeparator(path[2])) return true;
#endif
    return !path.empty() && IsSeparator(path.front());
}

std::string WithTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (result.empty() || IsSeparator(result.back())) return result;
#ifdef _WIN32
    // A path written with slashes alone goes on with one.
    if (result.find('/') != std::string::npos && result.find('\\') == std::string::npos) {
        result += '/';
        return result;
    }
#endif
    result += kPathSeparator;
    return result;
}

std::string WithoutTrailingSeparator(std::string_view path) {
    if (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
    return std::string(path);
}

std::string NormalPath(std::string_view path) {
    return Utf8Path(FsPath(path).lexically_normal());
}

std::string GetExtension(std::string_view path) {
    const auto dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

std::string StripExtension(std::string_view path) {
    return std::string(path.substr(0, path.rfind('.')));
}

std::string FileNamePart(std::string_view path) {
    if (DirExists(path)) return {};
    const auto slash = path.find_last_of(kPathSeparators);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path) {
    if (DirExists(path)) return WithTrailingSeparator(path);
    const auto slash = path.find_last_of(kPathSeparators);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool SameFileName(std::string_view a, std::string_view b) {
#ifdef _WIN32
    const auto trimmed = [](std::string_view name) {
        return Wide(name.substr(0, name.find_last_not_of(". ") + 1));
    };
    const std::wstring wa = trimmed(a), wb = trimmed(b);
    // The system's own case folding, not ASCII's.
    return ::CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                                  static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
#else
    return a == b;
#endif
}

bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
#ifdef _WIN32
    return EqualsNoCase(name.substr(name.size() - extension.size()), extension);
#else
    return name.ends_with(extension);
#endif
}

std::filesystem::path FsPath(std::string_view utf8) {
#ifdef _WIN32
    if (!IsUtf8(utf8)) {
        const std::string text = StoredTextToUtf8(utf8);
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    }
#endif
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace pagelark

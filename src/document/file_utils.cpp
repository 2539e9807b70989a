#include "document/file_utils.h"

#include <algorithm>

#include "document/profile.h"
#include "platform/file_io.h"
#include "platform/shares.h"

namespace pagelark {

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
    return path.starts_with(kPathSeparator);
}

std::string EnsureTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (!result.empty() && result.back() != kPathSeparator) result += kPathSeparator;
    return result;
}

std::string StripTrailingBackslash(std::string_view path) {
    if (path.ends_with(kPathSeparator)) path.remove_suffix(1);
    return std::string(path);
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
    const auto slash = path.rfind(kPathSeparator);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path) {
    if (DirExists(path)) return EnsureTrailingBackslash(path);
    const auto slash = path.rfind(kPathSeparator);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool FileUtils::DirExists(std::string_view path) {
    ConnectShareOf(path);
    return pagelark::DirExists(path);
}

bool FileUtils::RemoveFile(std::string_view path) {
    if (path.empty()) return false;
    lastFileError_ = pagelark::RemoveFile(path);
    return lastFileError_ == 0;
}

bool FileUtils::MakeFolder(std::string_view path, unsigned mode) {
    ConnectShareOf(path);
    lastFileError_ = pagelark::MakeFolder(path, mode);
    return lastFileError_ == 0;
}

bool FileUtils::RemoveFolder(std::string_view path) {
    ConnectShareOf(path);
    lastFileError_ = pagelark::RemoveFolder(path);
    return lastFileError_ == 0;
}

bool FileUtils::WriteLines(const std::string& file, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    // Pending profile writes go out first; the new content then replaces them.
    profiles_.FlushProfileCache(file);
    std::string error;
    return ReplaceFileAtomically(file, text, error);
}

void FileUtils::ConnectShareOf(std::string_view path) {
    if (IsUncPath(path)) ConnectShare(ShareRoot(path));
}

bool FileUtils::ConnectShare(const std::string& share) {
    if (std::find(connectedShares_.begin(), connectedShares_.end(), share) !=
        connectedShares_.end())
        return true;
    if (!shares_.Connect(share)) return false;
    const auto slot = std::find(connectedShares_.begin(), connectedShares_.end(), std::string());
    if (slot != connectedShares_.end()) {
        *slot = share;
    } else {
        connectedShares_.push_back(share);
    }
    return true;
}

bool FileUtils::DisconnectShare(const std::string& share) {
    if (!shares_.Disconnect(share)) return false;
    const auto slot = std::find(connectedShares_.begin(), connectedShares_.end(), share);
    if (slot != connectedShares_.end()) slot->clear();
    while (!connectedShares_.empty() && connectedShares_.back().empty())
        connectedShares_.pop_back();
    return true;
}

void FileUtils::DisconnectAllShares() {
    for (auto i = connectedShares_.size(); i-- > 0;) {
        if (i < connectedShares_.size() && !connectedShares_[i].empty())
            DisconnectShare(connectedShares_[i]);
    }
}

}  // namespace pagelark

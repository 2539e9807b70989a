#include "storage/file_utils.h"

#include <algorithm>

#include "ini/ini_store.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/windows_only/shares.h"

namespace pagelark {

bool FileUtils::DirExists(std::string_view path) {
    ConnectShareOf(path);
    return pagelark::DirExists(path);
}

bool FileUtils::RemoveFile(std::string_view path) {
    if (path.empty()) return false;
    return pagelark::RemoveFile(path) == 0;
}

bool FileUtils::MakeFolder(std::string_view path, unsigned mode) {
    ConnectShareOf(path);
    return pagelark::MakeFolder(path, mode) == 0;
}

bool FileUtils::RemoveFolder(std::string_view path) {
    ConnectShareOf(path);
    return pagelark::RemoveFolder(path) == 0;
}

bool FileUtils::WriteLines(const std::string& file, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    // Pending INI writes go out first; the new content then replaces them.
    (void)iniFiles_.FlushIniCache(file);
    return ReplaceFileAtomically(file, text).Ok();
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

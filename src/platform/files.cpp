#include "platform/files.h"

#include "platform/folder_entries.h"

namespace pagelark {

std::vector<FileId> FilesIn(const std::string& folder) {
    std::vector<FileId> files;
    std::vector<std::string> pending{folder};
    // Deep enough for every folder of ours; a loop of bind mounts must still end.
    for (int folders = 0; !pending.empty() && folders < 4096; ++folders) {
        const std::string at = std::move(pending.back());
        pending.pop_back();
        for (const FolderEntry& entry : FolderEntries(at)) {
            if (entry.kind == EntryKind::File) files.push_back(entry.id);
            if (entry.kind == EntryKind::Folder)
                pending.push_back(at + kPathSeparator + entry.name);
        }
    }
    return files;
}

}  // namespace pagelark

#pragma once
// What each system gives the shared folder walk (files.cpp): one folder's entries.

#include <string>
#include <vector>

#include "platform/files.h"

namespace pagelark {

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;  // a link is Link, not what it points to
    FileId id;                          // of a File
};

// The entries of folder but "." and ".."; none when it cannot be read.
std::vector<FolderEntry> FolderEntries(const std::string& folder);

}  // namespace pagelark

#pragma once
// Single file and folder operations on native paths. Failures come back as the system's
// error number (errno here), 0 for success.

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

inline constexpr char kPathSeparator = '/';

// A regular file (links followed; a trailing separator ignored). Pipes and devices do not
// count: reading them could block or never end.
bool FileExists(std::string_view path);
// A folder this process may enter.
bool DirExists(std::string_view path);

// The working folder, without a trailing separator; "" when unknown.
std::string CurrentFolder();

int RemoveFile(std::string_view path);
// Makes the folder and any missing folders above it.
int MakeFolder(std::string_view path, unsigned mode);
int RemoveFolder(std::string_view path);

// True when folder is a real folder (not a link) owned by this user.
bool IsOwnFolder(const std::string& folder);
// Makes folder if needed and, when it is then our own, private to us; false otherwise.
bool MakePrivateFolder(const std::string& folder);
// Creates or empties path (never through a link), private to us, and writes data to it.
bool WritePrivateFile(const std::string& path, std::string_view data);

// What a path names, its last part not followed when that is a link.
enum class EntryKind { Missing, File, Folder, Link, Other };
EntryKind KindOf(const std::string& path);
// Whether path lies in folder or below it, however either is reached: the real folders are
// compared by device and inode, not by their names.
bool IsInFolder(const std::string& path, const std::string& folder);
// Whether a and b name the same file (links followed): the same device and inode, or, while
// neither is there, the same name in the same real folder.
bool SameFile(const std::string& a, const std::string& b);

// What the system says about a file; a copy read from it is current while this stays equal.
struct FileSignature {
    enum class Kind { Missing, File, Other } kind = Kind::Other;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;

    bool Matches(const FileSignature& other) const {
        if (kind == Kind::Other || kind != other.kind) return false;
        return kind == Kind::Missing ||
               (device == other.device && inode == other.inode && size == other.size &&
                mtimeNs == other.mtimeNs && ctimeNs == other.ctimeNs);
    }
};

FileSignature SignatureOf(const std::string& file);

}  // namespace pagelark

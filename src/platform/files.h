#pragma once
// Single file and folder operations on native paths. Failures come back as the system's
// error number (errno, or GetLastError's on Windows), 0 for success.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

#ifdef _WIN32
// "/" is taken as well; "\\" is what the program writes.
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

// A regular file (links followed; a trailing separator ignored). Pipes and devices do not
// count: reading them could block or never end.
bool FileExists(std::string_view path);
// A folder this process may enter.
bool DirExists(std::string_view path);

// The working folder, without a trailing separator; "" when unknown.
std::string CurrentFolder();

// The system's words for such a number.
std::string ErrorReason(int error);
// Whether such a number, or the system's words for one (a Result's reason), says the system
// refuses the change: no permission, or a medium that is read-only.
bool IsDenial(int error);
bool IsDenialReason(std::string_view reason);

int RemoveFile(std::string_view path);
// Renames a file, replacing what stands at to.
int RenameFile(std::string_view from, std::string_view to);
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

// A file or folder as the system knows it, whatever name reaches it.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};
// Of what path names, links followed; none when nothing is there.
std::optional<FileId> IdOf(const std::string& path);
// The regular files in folder and in the folders below it, links not followed.
std::vector<FileId> FilesIn(const std::string& folder);

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

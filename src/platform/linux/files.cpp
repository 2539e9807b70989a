#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/folder_entries.h"

namespace pagelark {
namespace {

int ErrorOf(int result) {
    return result == 0 ? 0 : errno;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

}  // namespace

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    if (path.ends_with(kPathSeparator)) path.remove_suffix(1);
    const std::string name(path);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

bool DirExists(std::string_view path) {
    if (path.empty()) return false;
    const std::string name(path);
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(name.c_str(), X_OK) == 0;
}

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return {};
    return buffer.data();
}

std::string ErrorReason(int error) {
    return std::strerror(error);
}

bool IsDenial(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

bool IsDenialReason(std::string_view reason) {
    for (const int error : {EACCES, EPERM, EROFS}) {
        if (reason == ErrorReason(error)) return true;
    }
    return false;
}

int RenameFile(std::string_view from, std::string_view to) {
    return ErrorOf(::rename(std::string(from).c_str(), std::string(to).c_str()));
}

int RemoveFile(std::string_view path) {
    return ErrorOf(::unlink(std::string(path).c_str()));
}

int MakeFolder(std::string_view path, unsigned mode) {
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] == kPathSeparator) {
            const std::string parent(path.substr(0, i));
            ::mkdir(parent.c_str(), static_cast<mode_t>(mode));
        }
    }
    const std::string name(path);
    if (::mkdir(name.c_str(), static_cast<mode_t>(mode)) == 0) return 0;
    const int error = errno;
    // A folder that is there but cannot be entered is denied, not "File exists".
    struct stat st {};
    if (error == EEXIST && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return ErrorOf(::access(name.c_str(), X_OK));
    return error;
}

int RemoveFolder(std::string_view path) {
    return ErrorOf(::rmdir(std::string(path).c_str()));
}

bool IsOwnFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

bool MakePrivateFolder(const std::string& folder) {
    ::mkdir(folder.c_str(), 0700);
    if (!IsOwnFolder(folder)) return false;
    ::chmod(folder.c_str(), 0700);
    return true;
}

bool WritePrivateFile(const std::string& path, std::string_view data) {
    // O_NOFOLLOW: a link planted in place of the file must not redirect the write.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, data);
    return ::close(fd) == 0 && written;
}

std::optional<FileId> IdOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileId{st.st_dev, st.st_ino};
}

std::vector<FolderEntry> FolderEntries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (name == "." || name == ".." ||
            ::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const EntryKind kind = S_ISREG(st.st_mode)   ? EntryKind::File
                               : S_ISDIR(st.st_mode) ? EntryKind::Folder
                               : S_ISLNK(st.st_mode) ? EntryKind::Link
                                                     : EntryKind::Other;
        entries.push_back({name, kind, {st.st_dev, st.st_ino}});
    }
    ::closedir(dir);
    return entries;
}

FileSignature SignatureOf(const std::string& file) {
    FileSignature signature;
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) signature.kind = FileSignature::Kind::Missing;
        return signature;
    }
    if (!S_ISREG(st.st_mode)) return signature;
    signature.kind = FileSignature::Kind::File;
    signature.device = st.st_dev;
    signature.inode = st.st_ino;
    signature.size = st.st_size;
    signature.mtimeNs = Nanoseconds(st.st_mtim);
    signature.ctimeNs = Nanoseconds(st.st_ctim);
    return signature;
}

}  // namespace pagelark

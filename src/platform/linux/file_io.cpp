#include "platform/file_io_system.h"

#include "platform/leftovers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace pagelark::file_io_system {
namespace {

std::string Reason(int err) {
    return std::strerror(err);
}

int Fd(NativeHandle handle) {
    return static_cast<int>(handle);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

ReadableFile::ReadableFile(const std::string& path, bool secret) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        status_ =
            (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Unreadable;
        error_ = Reason(errno);
        return;
    }
    handle_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        status_ = ReadStatus::Unreadable;
        error_ = Reason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        status_ = ReadStatus::NotAFile;
        error_ = S_ISDIR(st.st_mode) ? Reason(EISDIR) : "Not a regular file";
    } else if (secret && (st.st_mode & 077) != 0) {
        status_ = ReadStatus::Unreadable;
        error_ = "its group or others have permissions on it; chmod 600 it";
    } else {
        size_ = static_cast<std::uint64_t>(st.st_size);
    }
}

ReadableFile::~ReadableFile() {
    if (handle_ != kNoHandle) ::close(Fd(handle_));
}

std::optional<std::size_t> ReadableFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(Fd(handle_), buffer, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR && errno != EAGAIN) break;
    }
    error_ = Reason(errno);
    return std::nullopt;
}

std::string TooLargeReason() {
    return Reason(EFBIG);
}

std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;  // dangling link: replace the link itself
    std::string resolved(real);
    std::free(real);
    return resolved;
}

std::size_t LastSeparator(std::string_view path) {
    return path.rfind('/');
}

// Its own last part is not followed, so what is opened is the folder the resolved name stood
// for.
Result<HeldFolder> HeldFolder::Open(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return Fail(Reason(EISDIR));
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    char* real = ::realpath(folder.c_str(), nullptr);
    if (real == nullptr) return Fail(Reason(errno));
    const int dir = ::open(real, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    std::free(real);
    if (dir < 0) return Fail(Reason(errno));
    return HeldFolder(dir, folder + "/", std::move(name));
}

HeldFolder::~HeldFolder() {
    if (handle_ != kNoHandle) ::close(Fd(handle_));
}

// The folders are walked up from the open one itself, so they are the ones written into
// whatever became of their names.
Result<WritePlace> HeldFolder::Describe() const {
    const int dir = Fd(handle_);
    WritePlace place;
    place.name = name_;
    int at = ::openat(dir, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    bool whole = false;
    while (at >= 0 && !whole && place.folders.size() < 4096) {
        struct stat st {};
        if (::fstat(at, &st) != 0) break;
        const FileId id{st.st_dev, st.st_ino};
        whole = !place.folders.empty() && place.folders.back() == id;  // the root is its own parent
        if (!whole) place.folders.push_back(id);
        const int up = whole ? -1 : ::openat(at, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(at);
        at = up;
    }
    if (!whole) {
        const int err = errno;
        if (at >= 0) ::close(at);
        return Fail("the folders above it cannot be read: " + Reason(err));
    }
    struct stat st {};
    if (::fstatat(dir, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return place;
        return Fail(Reason(errno));
    }
    place.id = {st.st_dev, st.st_ino};
    place.kind = S_ISLNK(st.st_mode)   ? EntryKind::Link
                 : S_ISDIR(st.st_mode) ? EntryKind::Folder
                 : S_ISREG(st.st_mode) ? EntryKind::File
                                       : EntryKind::Other;
    return place;
}

// The temporary file is renamed to the name; a new file gets newFileMode less the umask, an
// existing one keeps its mode.
Result<> HeldFolder::Replace(std::string_view data, unsigned newFileMode,
                             const LastCheck& lastCheck) const {
    const int dir = Fd(handle_);
    const char* name = name_.c_str();
    struct stat old {};
    const bool exists =
        ::fstatat(dir, name, &old, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISLNK(old.st_mode);
    if (exists && S_ISDIR(old.st_mode)) return Fail(Reason(EISDIR));
    // A device or pipe is refused, never replaced by a file: as root a save to
    // /dev/null would otherwise turn it into one for the whole machine.
    if (exists && !S_ISREG(old.st_mode)) return Fail("not a regular file");
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = static_cast<mode_t>(newFileMode) & ~mask;
    }
    std::string temp;
    int made = -1;
    for (int tries = 0; made < 0 && tries < 100; ++tries) {
        temp = TaggedUniqueName(ReplacementPrefix(name_));
        made =
            ::openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made < 0 && errno != EEXIST) break;
    }
    if (made < 0) return Fail(Reason(errno));
    auto fail = [&](int err) -> Result<> {
        if (made >= 0) ::close(made);
        ::unlinkat(dir, temp.c_str(), 0);
        return Fail(Reason(err));
    };
    if (!WriteAll(made, data)) return fail(errno);
    if (::fchmod(made, mode) != 0) return fail(errno);
    if (::fsync(made) != 0) return fail(errno);
    const int closed = ::close(made);
    made = -1;
    if (closed != 0) return fail(errno);
    if (lastCheck) {
        if (Result<> allowed = lastCheck(); !allowed) {
            ::unlinkat(dir, temp.c_str(), 0);
            return allowed;
        }
    }
    // A link put at name meanwhile is replaced itself, never its target.
    if (::renameat(dir, temp.c_str(), dir, name) != 0) return fail(errno);
    ::fsync(dir);  // the rename itself reaches the disk
    return Done();
}

}  // namespace pagelark::file_io_system

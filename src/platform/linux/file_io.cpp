#include "platform/file_io.h"

#include "platform/leftovers.h"
#include "platform/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace pagelark {
namespace {

std::string Reason(int err) {
    return std::strerror(err);
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

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

std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;  // dangling link: replace the link itself
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// The folder of path's last part, opened, with that part's name; its own last part is not
// followed, so what is opened is the folder the resolved name stood for.
struct OpenFolder {
    Fd dir;
    std::string name;
};

Result<OpenFolder> OpenFolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return Fail(Reason(EISDIR));
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    char* real = ::realpath(folder.c_str(), nullptr);
    if (real == nullptr) return Fail(Reason(errno));
    Fd dir(::open(real, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    std::free(real);
    if (dir.get() < 0) return Fail(Reason(errno));
    return OpenFolder{std::move(dir), std::move(name)};
}

// The place of name in the open folder dir: the folders are walked up from dir itself, so
// they are the ones written into whatever became of their names.
Result<WritePlace> Describe(int dir, const std::string& name) {
    WritePlace place;
    place.name = name;
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
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
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

// Asked just before the rename: a failure stops it and comes back as it is.
using LastCheck = std::function<Result<>()>;

std::string TempNameFor(const std::string& name) {
    return TaggedUniqueName("." + name + ".");
}

// Writes data to a new file in the open folder dir, flushed to disk, and renames it to name
// there once lastCheck (when given) allows it. On failure nothing is left behind.
Result<> ReplaceIn(int dir, const std::string& name, std::string_view data, unsigned newFileMode,
                   const LastCheck& lastCheck) {
    struct stat old {};
    const bool exists =
        ::fstatat(dir, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISLNK(old.st_mode);
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
        temp = TempNameFor(name);
        made =
            ::openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made < 0 && errno != EEXIST) break;
    }
    if (made < 0) return Fail(Reason(errno));
    Fd fd(made);
    auto fail = [&](int err) -> Result<> {
        ::unlinkat(dir, temp.c_str(), 0);
        return Fail(Reason(err));
    };
    if (!WriteAll(fd.get(), data)) return fail(errno);
    if (::fchmod(fd.get(), mode) != 0) return fail(errno);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (::close(fd.release()) != 0) return fail(errno);
    if (lastCheck) {
        if (Result<> allowed = lastCheck(); !allowed) {
            ::unlinkat(dir, temp.c_str(), 0);
            return allowed;
        }
    }
    // A link put at name meanwhile is replaced itself, never its target.
    if (::renameat(dir, temp.c_str(), dir, name.c_str()) != 0) return fail(errno);
    ::fsync(dir);  // the rename itself reaches the disk
    return Done();
}

ReadResult ReadFile(const std::string& path, std::size_t maxBytes, bool secret) {
    ReadResult result;
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        result.status =
            (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Unreadable;
        result.error = Reason(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        result.status = ReadStatus::Unreadable;
        result.error = Reason(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::NotAFile;
        result.error = S_ISDIR(st.st_mode) ? Reason(EISDIR) : "Not a regular file";
        return result;
    }
    if (secret && (st.st_mode & 077) != 0) {
        result.status = ReadStatus::Unreadable;
        result.error = "its group or others have permissions on it; chmod 600 it";
        return result;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        result.status = ReadStatus::TooLarge;
        result.error = Reason(EFBIG);
        return result;
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            result.status = ReadStatus::Unreadable;
            result.error = Reason(errno);
            return result;
        }
        if (n == 0) break;
        if (data.size() + static_cast<std::size_t>(n) > maxBytes) {  // grew while we read
            result.status = ReadStatus::TooLarge;
            result.error = Reason(EFBIG);
            return result;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    result.status = ReadStatus::Ok;
    result.data = std::move(data);
    return result;
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    return ReadFile(path, maxBytes, false);
}

ReadResult ReadSecretFile(const std::string& path, std::size_t maxBytes) {
    return ReadFile(path, maxBytes, true);
}

std::optional<bool> FileNamesWord(const std::string& path, std::string_view word) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0) return std::nullopt;
    if (!S_ISREG(st.st_mode)) return false;
    // What stays of one piece for the next: enough for the word in UTF-16 with the character
    // before it, which only gives that context, a word there having been seen whole already.
    const std::size_t kept = 2 * word.size() + 2;
    std::string text;
    std::size_t from = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) return std::nullopt;
        text.append(buffer, static_cast<std::size_t>(n));
        if (NamesWord(text, word, from, n > 0)) return true;
        if (n == 0) return false;
        if (text.size() > kept) {
            text.erase(0, text.size() - kept);
            from = 2;
        }
    }
}

Result<> ReplaceFileAtomically(const std::string& path, std::string_view data,
                               unsigned newFileMode) {
    const Result<OpenFolder> folder = OpenFolderOf(ResolveLink(path));
    if (!folder) return Fail(folder.Error());
    return ReplaceIn(folder->dir.get(), folder->name, data, newFileMode, {});
}

Result<WritePlace> PlaceOf(const std::string& path) {
    const Result<OpenFolder> folder = OpenFolderOf(path);
    if (!folder) return Fail(folder.Error());
    return Describe(folder->dir.get(), folder->name);
}

Result<> WriteGuarded(const std::string& path, std::string_view data, const PlaceCheck& check) {
    const auto cannot = [&](const std::string& why) {
        return Fail("cannot write " + path + ": " + why);
    };
    const Result<OpenFolder> folder = OpenFolderOf(path);
    if (!folder) return cannot(folder.Error());
    // A refusal comes back as check said it; only the system's failures are worded here.
    bool refused = false;
    const LastCheck allowed = [&]() -> Result<> {
        const Result<WritePlace> place = Describe(folder->dir.get(), folder->name);
        if (!place) return Fail(place.Error());
        Result<> judged = check(place.Value());
        refused = !judged;
        return judged;
    };
    Result<> written = allowed();
    if (written) written = ReplaceIn(folder->dir.get(), folder->name, data, 0666, allowed);
    if (written || refused) return written;
    return cannot(written.Error());
}

void RemoveLeftoverReplacements(const std::string& path) {
    const std::string target = ResolveLink(path);
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (!name.empty()) RemoveLeftovers(folder, "." + name + ".");
}

}  // namespace pagelark

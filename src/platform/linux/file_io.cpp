#include "platform/file_io.h"

#include "platform/linux/leftovers.h"
#include "platform/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pagelark {
namespace {

std::string Reason(int err) {
    return std::strerror(err);
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
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

bool ReplaceFileAtomically(const std::string& path, std::string_view data, std::string& error,
                           unsigned newFileMode) {
    const std::string target = ResolveLink(path);
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) {
        error = Reason(EISDIR);
        return false;
    }

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        error = Reason(EISDIR);
        return false;
    }
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = static_cast<mode_t>(newFileMode) & ~mask;
    }

    std::string tempName =
        (slash == std::string::npos ? std::string() : folder) + TaggedTemplate("." + name + ".");
    std::vector<char> temp(tempName.begin(), tempName.end());
    temp.push_back('\0');
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        error = Reason(errno);
        return false;
    }
    auto fail = [&](int err) {
        ::unlink(temp.data());
        error = Reason(err);
        return false;
    };
    if (!WriteAll(fd.get(), data)) return fail(errno);
    if (::fchmod(fd.get(), mode) != 0) return fail(errno);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (::close(fd.release()) != 0) return fail(errno);
    if (::rename(temp.data(), target.c_str()) != 0) return fail(errno);
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());  // the rename itself reaches the disk
    error.clear();
    return true;
}

void RemoveLeftoverReplacements(const std::string& path) {
    const std::string target = ResolveLink(path);
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (!name.empty()) RemoveLeftovers(folder, "." + name + ".");
}

}  // namespace pagelark

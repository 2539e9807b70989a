#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pagelark {
namespace {

class PosixAppendFile final : public AppendFile {
  public:
    explicit PosixAppendFile(int fd) : fd_(fd) {}
    ~PosixAppendFile() override { ::close(fd_); }
    PosixAppendFile(const PosixAppendFile&) = delete;
    PosixAppendFile& operator=(const PosixAppendFile&) = delete;

    std::uint64_t Size() const override {
        struct stat state {};
        return ::fstat(fd_, &state) == 0 ? static_cast<std::uint64_t>(state.st_size) : 0;
    }
    std::string Tail(std::size_t bytes) const override {
        const std::uint64_t size = Size();
        std::string tail(static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes)), '\0');
        const ssize_t got =
            ::pread(fd_, tail.data(), tail.size(), static_cast<off_t>(size - tail.size()));
        tail.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return tail;
    }
    bool IsAt(const std::string& path) const override {
        struct stat open {
        }, named{};
        return ::fstat(fd_, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
               open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }
    std::size_t Append(std::string_view data, std::string& why) override {
        const ssize_t written = ::write(fd_, data.data(), data.size());
        if (written < 0) why = std::strerror(errno);
        return written > 0 ? static_cast<std::size_t>(written) : 0;
    }
    void Sync() override { ::fdatasync(fd_); }

  private:
    int fd_;
};

}  // namespace

Result<std::unique_ptr<AppendFile>> OpenForAppend(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Fail(std::strerror(errno));
    return std::unique_ptr<AppendFile>(std::make_unique<PosixAppendFile>(fd));
}

}  // namespace pagelark

#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/paths.h"

namespace pagelark {

InstanceLock::~InstanceLock() {
    if (!Held()) return;
    // Removed while still locked, so a start that opened this file sees it is gone.
    ::unlink(path_.c_str());
    ::close(static_cast<int>(held_));
}

Result<InstanceLock::Taken> InstanceLock::Take(const std::string& folder) {
    if (Held()) return Taken::Yes;
    const std::string path = WithoutTrailingSeparator(folder) + "/pagelark.lock";
    // The lock is the open file's, not the name's: a holder that ended between our open and our
    // flock removed the file, and the next start would make and lock a new one beside us.
    for (int tries = 0; tries < 100; ++tries) {
        // Not inherited: a helper that outlives the kiosk must not hold its lock.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return Fail("cannot create " + path + ": " + std::strerror(errno));
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) return Taken::HeldByAnother;
            return Fail("cannot lock " + path + ": " + std::strerror(error));
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            held_ = fd;
            path_ = path;
            return Taken::Yes;
        }
        ::close(fd);
    }
    return Fail("cannot lock " + path + ": it keeps being replaced");
}

}  // namespace pagelark

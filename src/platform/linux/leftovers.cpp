#include "platform/leftovers.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace pagelark {

bool ProcessAlive(int pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void RemoveLeftovers(const std::string& folder, std::string_view prefix) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!IsLeftover(name, prefix)) continue;
        const std::string path = folder.empty() || folder.back() == '/'
                                     ? folder + std::string(name)
                                     : folder + "/" + std::string(name);
        ::unlink(path.c_str());
    }
    ::closedir(dir);
}

}  // namespace pagelark

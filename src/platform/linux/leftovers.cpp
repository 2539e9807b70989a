#include "platform/linux/leftovers.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace pagelark {
namespace {

constexpr std::size_t kUniqueLength = 6;  // mkstemp's XXXXXX

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The pid in "<pid>-XXXXXX", or 0 when the rest of a name is not of that form.
pid_t TaggedPid(std::string_view rest) {
    std::size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits]))
        ++digits;
    if (digits == 0 || digits > 9 || rest.size() != digits + 1 + kUniqueLength ||
        rest[digits] != '-')
        return 0;
    for (char c : rest.substr(digits + 1))
        if (!IsDigit(c) && !IsLetter(c)) return 0;
    return static_cast<pid_t>(std::atol(std::string(rest.substr(0, digits)).c_str()));
}

bool Alive(pid_t pid) {
    if (pid == ::getpid()) return false;
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

std::string TaggedTemplate(std::string_view prefix) {
    return std::string(prefix) + std::to_string(::getpid()) + "-XXXXXX";
}

void RemoveLeftovers(const std::string& folder, std::string_view prefix) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix)) continue;
        const pid_t pid = TaggedPid(name.substr(prefix.size()));
        if (pid <= 0 || Alive(pid)) continue;
        const std::string path = folder.empty() || folder.back() == '/'
                                     ? folder + std::string(name)
                                     : folder + "/" + std::string(name);
        ::unlink(path.c_str());
    }
    ::closedir(dir);
}

}  // namespace pagelark

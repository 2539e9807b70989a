#include "platform/temp_dir.h"

#include "platform/leftovers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace pagelark {
namespace {

std::string WithSeparator(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// A real folder (not a link) of ours with none of the forbidden mode bits.
bool IsPrivateFolder(const std::string& path, mode_t forbidden) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & forbidden) == 0;
}

}  // namespace

std::string TempDir() {
    // The help pages go here and pass every address check: a folder that others can write
    // to, or that belongs to someone else, would let them put pages there.
    for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
        const std::string value = Variable(name);
        if (!value.empty() && IsPrivateFolder(value, 0022)) return WithSeparator(value);
    }
    const std::string folder = "/tmp/pagelark-" + std::to_string(::geteuid());
    ::mkdir(folder.c_str(), 0700);
    // Shared /tmp: a folder someone else made under our name, or a link, is not used.
    if (!IsPrivateFolder(folder, 0077)) return {};
    return WithSeparator(folder);
}

std::string ReserveTempFile(const std::string& tempDir) {
    if (tempDir.empty()) return {};
    std::string pattern = tempDir + TaggedTemplate("TMP");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return {};
    ::close(fd);
    return name.data();
}

void RemoveLeftoverTempFiles(const std::string& tempDir) {
    if (!tempDir.empty()) RemoveLeftovers(tempDir, "TMP");
}

}  // namespace pagelark

#include "platform/temp_dir.h"

#include "platform/files.h"
#include "platform/leftovers.h"
#include "platform/windows/wide.h"

namespace pagelark {

std::string TempDir() {
    // The system's answer for this user (TMP, TEMP, else the profile's), in the 256 characters
    // the program has always given it; the help pages go there.
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    std::string folder = Narrow(std::wstring_view(buffer, length));
    if (!folder.ends_with('\\') && !folder.ends_with(':')) folder += '\\';
    return folder;
}

std::string ReserveTempFile(const std::string& tempDir) {
    if (tempDir.empty()) return {};
    // GetTempFileNameW names carry no process id, so a crashed run's file could not be told
    // from a running one's: the tagged name is made here, created new.
    for (int tries = 0; tries < 100; ++tries) {
        const std::string name = TaggedUniqueName("TMP");
        std::string path = tempDir + name;
        Handle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid()) return path;
        if (::GetLastError() != ERROR_FILE_EXISTS) return {};
    }
    return {};
}

void RemoveLeftoverTempFiles(const std::string& tempDir) {
    if (!tempDir.empty()) RemoveLeftovers(tempDir, "TMP");
}

}  // namespace pagelark

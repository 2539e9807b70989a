#include "platform/leftovers.h"

#include "platform/windows/wide.h"

namespace pagelark {

bool ProcessAlive(int pid) {
    Handle process(::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid)));
    if (!process.Valid()) return ::GetLastError() == ERROR_ACCESS_DENIED;
    return ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

void RemoveLeftovers(const std::string& folder, std::string_view prefix) {
    const std::string base =
        folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(Wide(base + std::string(prefix) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const auto name = NarrowName(found.cFileName);
        if (name && IsLeftover(*name, prefix)) ::DeleteFileW(Wide(base + *name).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace pagelark

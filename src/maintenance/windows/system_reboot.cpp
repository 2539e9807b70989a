#include "maintenance/windows/system_reboot.h"

#include "platform/log.h"
#include "platform/windows/wide.h"

namespace pagelark {

void WindowsReboot::EnableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
        Warn(LogArea::Maintenance,
             "reboot: no access to this process's privileges: ", SystemReason(::GetLastError()));
        return;
    }
    Handle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        Warn(LogArea::Maintenance,
             "reboot: the shutdown privilege is unknown: ", SystemReason(::GetLastError()));
        return;
    }
    // Succeeds without granting when the account lacks the privilege: that is told apart here.
    if (!::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) ||
        ::GetLastError() != ERROR_SUCCESS) {
        Warn(LogArea::Maintenance,
             "reboot: the shutdown privilege was not granted: ", SystemReason(::GetLastError()));
    }
}

bool WindowsReboot::RequestReboot(bool force) {
    const UINT flags = EWX_REBOOT | (force ? EWX_FORCE : 0u);
    const DWORD reason =
        SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_MAINTENANCE | SHTDN_REASON_FLAG_PLANNED;
    if (::ExitWindowsEx(flags, reason)) return true;
    Warn(LogArea::Maintenance, "reboot refused: ", SystemReason(::GetLastError()));
    return false;
}

}  // namespace pagelark

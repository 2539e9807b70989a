#pragma once
// Which of the operating-system features the settings and the daily reboot know about this
// system has. The automatic logon settings are shown, read and written only where it logs on
// by itself from them.

namespace pagelark {

struct OsFeatures {
    // The system logs an account on at start-up from the stored Winlogon values.
    bool automaticLogon = false;
    // A process must enable a privilege of its own before it may ask for a reboot.
    bool shutdownPrivilege = false;
};

#ifdef _WIN32
// Windows logs on from the Winlogon values and asks for the privilege.
inline constexpr OsFeatures kOsFeatures{true, true};
#else
// This system's: the display manager logs on, and logind decides who may reboot.
inline constexpr OsFeatures kOsFeatures{};
#endif

}  // namespace pagelark

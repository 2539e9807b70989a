#pragma once
// The system's own automatic logon, prepared before a scheduled reboot so that the machine
// comes back logged on with the operator's account.

#include <string_view>

namespace pagelark {

class Registry;
struct MachineSettings;

inline constexpr std::string_view kWinlogonKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Writes the logon values under the machine's Winlogon key; an empty domain, user name or
// password leaves the system's value as it was. Refused writes are ignored: the reboot goes
// ahead without them.
void WriteAutoLogonValues(Registry& registry, const MachineSettings& machine);

}  // namespace pagelark

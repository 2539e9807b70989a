#include "maintenance/windows_only/auto_logon.h"

#include <string>

#include "settings/registry.h"
#include "settings/settings.h"

namespace pagelark {

void WriteAutoLogonValues(Registry& registry, const MachineSettings& machine) {
    auto write = [&registry](std::string_view name, std::string_view text) {
        (void)registry.SetValue(RegRoot::LocalMachine, kWinlogonKey, name, text, RegType::String);
    };
    write("AutoAdminLogon", "1");
    write("DontDisplayLastUserName", "0");
    // An empty text would remove the value, and the system would forget the account.
    if (!machine.NTDomain.empty()) write("DefaultDomainName", machine.NTDomain);
    if (!machine.NTLogin.empty()) write("DefaultUserName", machine.NTLogin);
    if (!machine.NTPassword.empty()) write("DefaultPassword", machine.NTPassword);
}

}  // namespace pagelark

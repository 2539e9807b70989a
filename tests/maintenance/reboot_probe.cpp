// The daily reboot on Windows, end to end but for the machine: the sequence the player runs,
// with the real privilege and ExitWindowsEx. Under Wine the request ends Wine's own session
// (wineboot), never the machine; reboot_under_wine.sh reads which one was asked for.
//   reboot_probe force|plain

#include <cstdio>
#include <cstring>

#include "maintenance/reboot.h"
#include "maintenance/windows/system_reboot.h"
#include "platform/system_registry.h"
#include "settings/registry.h"
#include "settings/settings.h"

int main(int argc, char** argv) {
    using namespace pagelark;
    const bool force = argc > 1 && std::strcmp(argv[1], "force") == 0;
    auto backend = SystemRegistry();
    Registry registry(*backend);
    MachineSettings machine;
    WindowsReboot system;
    const bool accepted = KioskMaintenance(registry, machine, system).RebootSequence(false, force);
    std::printf("accepted: %s\n", accepted ? "yes" : "no");
    return accepted ? 0 : 1;
}

#pragma once
// The reboot asked of Windows itself: the process's shutdown privilege, then ExitWindowsEx.

#include "maintenance/reboot.h"

namespace pagelark {

class WindowsReboot final : public RebootSystem {
  public:
    // A failure is logged; the reboot is asked for all the same.
    void EnableShutdownPrivilege() override;
    // With force, programs that hold the reboot back are closed regardless.
    bool RequestReboot(bool force) override;
};

}  // namespace pagelark

#pragma once
// The reboot request to systemd-logind on the system bus.

#include "maintenance/reboot.h"

namespace pagelark {

class LogindReboot final : public RebootSystem {
  public:
    // logind checks the caller's permissions itself.
    void EnableShutdownPrivilege() override {}
    // Waits for logind's answer, a couple of seconds at most per call (an older logind gets
    // the older call); a refusal is logged with logind's reason.
    bool RequestReboot(bool force) override;
};

}  // namespace pagelark

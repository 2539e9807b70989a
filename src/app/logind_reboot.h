#pragma once
// The reboot request to systemd-logind on the system bus.

#include <QDBusPendingCall>
#include <optional>

#include "maintenance/reboot.h"

namespace pagelark {

class LogindReboot final : public RebootSystem {
  public:
    // logind checks the caller's permissions itself.
    void EnableShutdownPrivilege() override {}
    // Sent without waiting: a missing or slow logind never holds up the windows.
    void RequestReboot(bool force) override;
    // At the end of the program, so that the request leaves before the process does: waits
    // for logind's answer (and makes the older call when logind asks for it), a couple of
    // seconds at most per call. A refusal is ignored.
    void AwaitAnswer();

  private:
    void Send(const LogindCall& call);

    std::optional<LogindCall> sent_;
    std::optional<QDBusPendingCall> pending_;
};

}  // namespace pagelark

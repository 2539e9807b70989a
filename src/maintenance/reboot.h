#pragma once
// The daily reboot once the player found it due: the automatic logon values and the shutdown
// privilege where the system has them, then the request to the system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ports/maintenance.h"
#include "platform/os_features.h"

namespace pagelark {

class Registry;
struct MachineSettings;

// What the reboot asks of the operating system.
class RebootSystem {
  public:
    virtual ~RebootSystem() = default;
    // Only where the system has the privilege. A failure is the platform's to record; the reboot is
    // asked for anyway.
    virtual void EnableShutdownPrivilege() = 0;
    // True when the system accepted; a refusal is the platform's to report. With force,
    // programs that hold the reboot back are overridden.
    virtual bool RequestReboot(bool force) = 0;
};

class KioskMaintenance final : public Maintenance {
  public:
    // machine supplies the logon account.
    KioskMaintenance(Registry& registry, const MachineSettings& machine, RebootSystem& system,
                     OsFeatures os = kOsFeatures)
        : registry_(registry), machine_(machine), system_(system), os_(os) {}

    bool RebootSequence(bool autoLogin, bool force) override;

  private:
    Registry& registry_;
    const MachineSettings& machine_;
    RebootSystem& system_;
    OsFeatures os_;
};

// ---- the request to systemd-logind ----

// Flags of org.freedesktop.login1.Manager.RebootWithFlags.
inline constexpr std::uint64_t kLogindRootCheckInhibitors = 1u << 0;
inline constexpr std::uint64_t kLogindSkipInhibitors = 1u << 4;

struct LogindCall {
    std::string method;  // "RebootWithFlags" (argument flags) or "Reboot" (argument false)
    std::uint64_t flags = 0;
    friend bool operator==(const LogindCall&, const LogindCall&) = default;
};

// Never interactive: nobody is there to answer a password prompt. Unforced, block inhibitors
// of other programs hold the reboot back even for root; forced, they are skipped, which
// logind grants only with the ignore-inhibit permission.
LogindCall LogindRebootCall(bool force);
// The call to make when logind answered sent with the D-Bus error errorName: a logind that
// does not know the method or the flag gets the plain Reboot, which in those versions passes
// inhibitors for a caller allowed to ignore them. nullopt: nothing more to try.
std::optional<LogindCall> LogindFallback(const LogindCall& sent, std::string_view errorName);

}  // namespace pagelark

#include "maintenance/reboot.h"

#include "maintenance/windows_only/auto_logon.h"

namespace pagelark {

bool KioskMaintenance::RebootSequence(bool autoLogin, bool force) {
    if (autoLogin && os_.automaticLogon) WriteAutoLogonValues(registry_, machine_);
    if (os_.shutdownPrivilege) system_.EnableShutdownPrivilege();
    return system_.RequestReboot(force);
}

LogindCall LogindRebootCall(bool force) {
    return {"RebootWithFlags", force ? kLogindSkipInhibitors : kLogindRootCheckInhibitors};
}

std::optional<LogindCall> LogindFallback(const LogindCall& sent, std::string_view errorName) {
    if (sent.method != "RebootWithFlags") return std::nullopt;
    if (errorName == "org.freedesktop.DBus.Error.UnknownMethod" ||
        errorName == "org.freedesktop.DBus.Error.InvalidArgs")
        return LogindCall{"Reboot", 0};
    return std::nullopt;
}

}  // namespace pagelark

#include <gtest/gtest.h>

#include <optional>

#include "maintenance/reboot.h"
#include "maintenance/windows_only/auto_logon.h"
#include "settings/file_registry.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

struct RecordingSystem final : RebootSystem {
    std::string calls;
    void EnableShutdownPrivilege() override { calls += "privilege,"; }
    bool RequestReboot(bool force) override {
        calls += force ? "forced" : "reboot";
        return !force;  // the answer is passed on
    }
};

TEST(RebootSequenceTest, LogonValuesOnlyWhereTheSystemHasThemWithAutoLoginInOrderThenTheRequest) {
    constexpr const char* kAll =
        "DefaultDomainName=earlier AutoAdminLogon=1 DontDisplayLastUserName=0 "
        "DefaultUserName=kiosk DefaultPassword=secret";
    const struct {
        OsFeatures os;
        bool autoLogin, force;
        const char* domain;
        const char* values;  // as the store file lists them: in the order written
        const char* calls;
    } cases[] = {
        {{true, true}, true, true, "", kAll, "privilege,forced"},
        {{true, true}, false, false, "OFFICE", "DefaultDomainName=earlier", "privilege,reboot"},
        {{}, true, true, "OFFICE", "DefaultDomainName=earlier", "forced"},
    };
    for (const auto& c : cases) {
        TempFolder temp;
        MachineSettings machine;
        machine.NTDomain = c.domain;
        machine.NTLogin = "kiosk";
        machine.NTPassword = "secret";
        RecordingSystem system;
        {
            FileRegistry backend(temp.path());
            Registry registry(backend);
            // An empty setting must leave the system's value alone, not remove it.
            ASSERT_TRUE(registry.SetValue(RegRoot::LocalMachine, kWinlogonKey, "DefaultDomainName",
                                          "earlier", RegType::String));
            EXPECT_EQ(KioskMaintenance(registry, machine, system, c.os)
                          .RebootSequence(c.autoLogin, c.force),
                      !c.force);
        }
        const std::string file = TempFolder::Read(temp.File("machine.reg"));
        std::string values;
        for (char ch : file.substr(file.find("Winlogon]") + 11))
            if (ch != '"' && ch != '\r') values += ch == '\n' ? ' ' : ch;
        EXPECT_EQ(values, std::string(c.values) + "  ") << c.os.automaticLogon << c.autoLogin;
        EXPECT_EQ(system.calls, c.calls);
    }
}

TEST(LogindTest, InhibitorsHoldAnUnforcedRebootAndAnOlderLogindGetsThePlainCall) {
    const LogindCall plain{"Reboot", 0};
    const struct {
        LogindCall sent;
        const char* error;
        std::optional<LogindCall> next;
    } cases[] = {
        {LogindRebootCall(true), "org.freedesktop.DBus.Error.InvalidArgs", plain},
        {LogindRebootCall(false), "org.freedesktop.DBus.Error.UnknownMethod", plain},
        {LogindRebootCall(true), "org.freedesktop.DBus.Error.AccessDenied", std::nullopt},
        {plain, "org.freedesktop.DBus.Error.UnknownMethod", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogindFallback(c.sent, c.error), c.next) << c.sent.method << " " << c.error;
}

}  // namespace
}  // namespace pagelark

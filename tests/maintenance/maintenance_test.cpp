// The reboot sequence, the automatic logon values it writes and the request logind gets.

#include <gtest/gtest.h>

#include <optional>

#include "document/registry.h"
#include "document/settings.h"
#include "maintenance/auto_logon.h"
#include "maintenance/reboot.h"
#include "platform/linux/file_registry.h"
#include "platform/linux/reg_file.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

class RecordingSystem final : public RebootSystem {
  public:
    std::string calls;
    void EnableShutdownPrivilege() override { calls += "privilege,"; }
    void RequestReboot(bool force) override { calls += force ? "forced" : "reboot"; }
};

// The sequence over a registry store in a temporary folder, read back from its file.
class RebootSequenceTest : public ::testing::Test {
  protected:
    RebootSequenceTest() {
        machine.NTLogin = "kiosk";
        machine.NTPassword = "secret";
    }
    // The Winlogon values in the order the store file holds them: the order of writing.
    std::string Run(int windowsVersion, bool autoLogin, bool force) {
        {
            FileRegistry backend(temp.path(), XdgEnvironment{});
            Registry registry(backend);
            KioskMaintenance(registry, machine, system, windowsVersion)
                .RebootSequence(autoLogin, force);
        }
        const std::string file = TempFolder::Read(temp.File("machine.reg"));
        const auto key = file.find("Winlogon]");
        return key == std::string::npos ? "" : file.substr(key + 11);
    }

    TempFolder temp;
    MachineSettings machine;
    RecordingSystem system;
};

TEST_F(RebootSequenceTest, WindowsNtWritesTheLogonValuesInOrderThenAsks) {
    EXPECT_EQ(Run(2, true, true),
              "\"AutoAdminLogon\"=\"1\"\r\n\"DontDisplayLastUserName\"=\"0\"\r\n"
              "\"DefaultUserName\"=\"kiosk\"\r\n\"DefaultPassword\"=\"secret\"\r\n\r\n");
    EXPECT_EQ(system.calls, "privilege,forced");
}

TEST_F(RebootSequenceTest, WithoutAutoLoginOrWindowsNtNothingIsWritten) {
    machine.NTDomain = "OFFICE";
    EXPECT_EQ(Run(2, false, false), "");
    EXPECT_EQ(system.calls, "privilege,reboot");
    system.calls.clear();
    for (int version : {0, 1})
        EXPECT_EQ(Run(version, true, false), "") << version;
    EXPECT_EQ(system.calls, "rebootreboot");  // and no privilege outside Windows NT
}

TEST(AutoLogonTest, AnEmptySettingLeavesTheSystemValueAsItWas) {
    TempFolder temp;
    FileRegistry backend(temp.path(), XdgEnvironment{});
    Registry registry(backend);
    const auto get = [&](std::string_view name) {
        return registry.QueryValue(RegRoot::LocalMachine, kWinlogonKey, name);
    };
    registry.SetValue(RegRoot::LocalMachine, kWinlogonKey, "DefaultUserName", "earlier",
                      RegType::String);
    MachineSettings machine;
    machine.NTDomain = "OFFICE";
    WriteAutoLogonValues(registry, machine);
    EXPECT_EQ(get("DefaultDomainName"), "OFFICE");
    EXPECT_EQ(get("DefaultUserName"), "earlier");
}

TEST(LogindTest, InhibitorsHoldAnUnforcedRebootAndAnOlderLogindGetsThePlainCall) {
    EXPECT_EQ(LogindRebootCall(false), (LogindCall{"RebootWithFlags", kLogindRootCheckInhibitors}));
    EXPECT_EQ(LogindRebootCall(true), (LogindCall{"RebootWithFlags", kLogindSkipInhibitors}));
    const LogindCall plain{"Reboot", 0};
    const struct {
        LogindCall sent;
        const char* error;
        std::optional<LogindCall> next;
    } cases[] = {
        {LogindRebootCall(true), "org.freedesktop.DBus.Error.InvalidArgs", plain},
        {LogindRebootCall(false), "org.freedesktop.DBus.Error.UnknownMethod", plain},
        {LogindRebootCall(true), "org.freedesktop.DBus.Error.AccessDenied", std::nullopt},
        {LogindRebootCall(false), "org.freedesktop.login1.BlockedByInhibitorLock", std::nullopt},
        {plain, "org.freedesktop.DBus.Error.UnknownMethod", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogindFallback(c.sent, c.error), c.next) << c.sent.method << " " << c.error;
}

}  // namespace
}  // namespace pagelark

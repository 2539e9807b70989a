#include "settings/settings.h"

#include <gtest/gtest.h>

#include "model/product.h"
#include "platform/clock.h"
#include "support/document_world.h"

namespace pagelark::testing {
namespace {

const std::string kUser(kUserKey);
const std::string kMachine(kMachineKey);

class SettingsTest : public ::testing::Test, public DocumentWorld {
  protected:
    void UseFile(std::string_view content) { p.CurrentFile = temp.Write("show.tso", content); }
    void Load(OsFeatures os = {}) {
        LoadMachineSettings(settings, p.CurrentFile, now, machine, buttons, os);
    }
    double now = DateTimeValue(2026, 12, 6, 10, 0);
};

TEST_F(SettingsTest, LookupOrderIsFileThenUserThenMachine) {
    UseFile("[Tessaro]\r\nAutoReboot=Yes\r\nEMail=\r\n[ToolNavBack]\r\nHelpTip=Go back\r\n");
    fake.Put(RegRoot::LocalMachine, kMachine, "AutoReboot", "No");
    fake.Put(RegRoot::LocalMachine, kMachine, "EMail", "machine@x");
    fake.Put(RegRoot::CurrentUser, kUser, "Debug", "Yes");
    fake.Put(RegRoot::CurrentUser, kUser + "\\ToolNavStop", "HelpTip", "Halt");
    fake.Put(RegRoot::LocalMachine, kMachine + "\\ToolNavBack", "Visible", "No");
    EXPECT_EQ(settings.ReadSetting(p.CurrentFile, "AutoReboot"), "Yes");
    EXPECT_EQ(settings.ReadSetting(p.CurrentFile, "EMail"),
              "machine@x");  // an empty file value hides nothing
    EXPECT_TRUE(settings.DebugEnabled(p.CurrentFile));
    // A sub key is a section of the file and a key below each registry key.
    EXPECT_EQ(settings.ReadSetting(p.CurrentFile, "HelpTip", "ToolNavBack"), "Go back");
    EXPECT_EQ(settings.ReadSetting(p.CurrentFile, "HelpTip", "ToolNavStop"), "Halt");
    EXPECT_EQ(settings.ReadSetting(p.CurrentFile, "Visible", "ToolNavBack"), "No");
}

TEST_F(SettingsTest, DefaultFileComesFromTheSettingOrTheDocumentsFolder) {
    EXPECT_EQ(settings.DefaultFilePath(p.CurrentFile), temp.File("Pagelark.TSO"));
    fake.Put(RegRoot::LocalMachine, kMachine, "DefaultFile", "/srv/shows/lobby.tso");
    EXPECT_EQ(settings.DefaultFilePath(p.CurrentFile), "/srv/shows/lobby.tso");
}

TEST(RebootTime, DueTodayUntilItsVeryMinute) {
    const double tenOClock = DateTimeValue(2026, 12, 6, 10, 0);
    EXPECT_DOUBLE_EQ(RebootMomentAt({10, 0}, tenOClock), tenOClock);  // now is not past
}

// Defaults, toolbar sections and the stored machine values of a load and a save are in the
// golden files (tests/golden); here what they cannot show.
TEST_F(SettingsTest, LoadWithNothingStoredCreatesTheKeys) {
    Load();
    EXPECT_EQ(fake.OpenKey(RegRoot::LocalMachine, kMachine), RegError::Success);
    EXPECT_EQ(fake.OpenKey(RegRoot::CurrentUser, kUser), RegError::Success);
}

TEST_F(SettingsTest, LoadReadsEveryPlace) {
    UseFile("[Tessaro]\r\nScreenSaveTimeOut=0\r\n[ToolRunQuit]\r\nHelpTip= \r\n");
    fake.Put(RegRoot::LocalMachine, kMachine, "RebootTime", "33:90");  // each part modulo
    fake.Put(RegRoot::LocalMachine, kMachine, "AutoLogin", "Yes");
    fake.Put(RegRoot::LocalMachine, kMachine, "NTLogin", "kiosk");
    Load();
    // A time-out of 0 means the default.
    EXPECT_EQ(machine.ScreenSaveTimeOut.count(), 300);
    EXPECT_DOUBLE_EQ(machine.RebootMoment, DateTimeValue(2026, 12, 7, 9, 30));  // past today
    EXPECT_EQ(buttons.Run(ToolRunSlot::Quit).HelpTip, "Quit");  // a blank tip reads as empty
    // The log-in settings are read and written only where the system logs on from them.
    EXPECT_FALSE(machine.AutoLogin);
    EXPECT_EQ(machine.NTLogin, "");
    WriteEditedMachineSettings(settings, machine);
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "NTLogin"), "kiosk");
    Load({.automaticLogon = true});
    EXPECT_TRUE(machine.AutoLogin);
    EXPECT_EQ(machine.NTLogin, "kiosk");
}

TEST_F(SettingsTest, WritesGoToTheMachineKeyOnlyAndASaveRemovesWhatNoLongerHolds) {
    EXPECT_TRUE(settings.WriteMachineSetting("EMail", "a@b"));
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "EMail"), "a@b");
    EXPECT_EQ(fake.Get(RegRoot::CurrentUser, kUser, "EMail"), "<missing>");
    EXPECT_TRUE(settings.WriteMachineSetting("EMail", ""));
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "EMail"), "<missing>");
    // The stored values themselves are in the golden files.
    machine.EMail = "op@x";
    fake.Put(RegRoot::LocalMachine, kMachine, "EMailRegistered", "Yes");
    WriteEditedMachineSettings(settings, machine);
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "EMailRegistered"), "<missing>");
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "AutoLogin"), "<missing>");  // no logon
}

}  // namespace
}  // namespace pagelark::testing

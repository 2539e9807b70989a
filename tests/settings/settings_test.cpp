#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/clock.h"
#include "settings/managed.h"
#include "settings/registry.h"
#include "support/document_world.h"
#include "support/golden.h"
#include "support/warning_log.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

const std::string kUser(kUserKey), kMachine(kMachineKey);

class SettingsTest : public ::testing::Test, public DocumentWorld {
  protected:
    void UseFile(std::string_view content) { d.CurrentFile = temp.Write("show.tso", content); }
    void Load(OsFeatures os = {}) {
        LoadMachineSettings(settings, ReadSettingsFile(d.CurrentFile), now, machine, buttons, os);
    }
    void Take(decltype(ManagedSettings::values) values) {
        TakeManaged(settings, ManagedSettings{std::move(values)}, d.CurrentFile, p, machine, now);
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
    EXPECT_EQ(settings.ReadSetting(d.CurrentFile, "AutoReboot"), "Yes");
    EXPECT_EQ(settings.ReadSetting(d.CurrentFile, "EMail"),
              "machine@x");  // an empty file value hides nothing
    EXPECT_TRUE(settings.DebugEnabled(d.CurrentFile));
    // A sub key is a section of the file and a key below each registry key.
    EXPECT_EQ(settings.ReadSetting(d.CurrentFile, "HelpTip", "ToolNavBack"), "Go back");
    EXPECT_EQ(settings.ReadSetting(d.CurrentFile, "HelpTip", "ToolNavStop"), "Halt");
    EXPECT_EQ(settings.ReadSetting(d.CurrentFile, "Visible", "ToolNavBack"), "No");
}

TEST_F(SettingsTest, DefaultFileComesFromTheSettingOrTheDocumentsFolder) {
    EXPECT_EQ(settings.DefaultFilePath(d.CurrentFile), temp.File("Pagelark.TSO"));
    fake.Put(RegRoot::LocalMachine, kMachine, "DefaultFile", "/srv/shows/lobby.tso");
    EXPECT_EQ(settings.DefaultFilePath(d.CurrentFile), "/srv/shows/lobby.tso");
    // A managed one wins (the end-to-end managed default test), also when it asks for the
    // documents folder's.
    settings.SetManaged({{{"DefaultFile", ""}}});
    EXPECT_EQ(settings.DefaultFilePath(d.CurrentFile), temp.File("Pagelark.TSO"));
}

// Defaults, toolbar sections, what words and numbers mean and the stored machine values of a
// load and a save are in the golden files (tests/golden); here what they cannot show.
TEST_F(SettingsTest, LogOnSettingsAreReadOnlyWhereTheSystemLogsOnFromThem) {
    fake.Put(RegRoot::LocalMachine, kMachine, "AutoLogin", "Yes");
    fake.Put(RegRoot::LocalMachine, kMachine, "NTLogin", "kiosk");
    Load();
    EXPECT_EQ(std::tuple(machine.AutoLogin, machine.NTLogin), std::tuple(false, ""));
    EXPECT_TRUE(WriteEditedMachineSettings(settings, machine, OsFeatures{}));
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "NTLogin"), "kiosk");
    Load({.automaticLogon = true});
    EXPECT_EQ(std::tuple(machine.AutoLogin, machine.NTLogin), std::tuple(true, "kiosk"));
}

// A store's text that may set Locked is the store's test (FileRegistryTest) and the golden files'.
TEST_F(SettingsTest, ALockedThatIsNoPlainYesOrNoLineLocksAndSaysWhere) {
    // The file's [Tessaro] lines, the machine store's value, and the warning ({file}: the file)
    // of a locked kiosk ({store}: the store's file), "" for one that is not.
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {"", "", ""},
        {"", " no ", ""},
        {"", "Yse", "{store}: Locked is \"Yse\", neither yes nor no"},
        {"", "&h00000000", "{store}: Locked is \"&h00000000\", neither yes nor no"},
        {"Locked=No\r\n", "", ""},
        {"Locked=maybe\r\n", "No", "{file}: Locked is \"maybe\", neither yes nor no"},
        {"\"Locked\"=Yes\r\n", "", "{file}: line 2 names Locked but is not read"},
        {"Locked:Yes\r\n", "No", "{file}: line 2 names Locked but is not read"},
        {"HomeURL=http://x/locked\r\nLocked\r\n", "",
         "{file}: line 3 names Locked but is not read"},
        {"Locked=No\r\n[Page1]\r\n[tessaro]\r\nLocked=Yes\r\n", "",
         "{file}: line 5 names Locked but is not read"},
    };
    for (const auto& [lines, stored, warning] : rows) {
        UseFile("[Tessaro]\r\n" + lines);
        fake.Put(RegRoot::LocalMachine, kMachine, "Locked", stored);
        WarningLog log;
        Load();
        EXPECT_EQ(machine.Locked, !warning.empty()) << lines << stored;
        std::vector<std::string> said;
        if (warning.starts_with("{file}")) said.push_back(d.CurrentFile + warning.substr(6));
        if (warning.starts_with("{store}"))
            said.push_back(temp.File("registry/machine.reg") + warning.substr(7));
        for (std::string& line : said)
            line += ": the kiosk is locked";
        EXPECT_EQ(log.lines, said);
    }
}

// Values of other types read as settings are the golden regtypes.reg's; their bytes on a
// rewrite, FileRegistryTest's.
TEST_F(SettingsTest, WritesGoToTheMachineKeyOnlyWholeAndASaveRemovesWhatNoLongerHolds) {
    const std::string text(2046, 's');
    EXPECT_TRUE(settings.WriteMachineSetting("EMail", text));
    // A new session reads the file.
    EXPECT_EQ(StoreFiles(temp.File("registry")).Get(RegRoot::LocalMachine, kMachine, "EMail"),
              text);
    EXPECT_EQ(fake.Get(RegRoot::CurrentUser, kUser, "EMail"), "<missing>");
    // The stored values themselves are in the golden files.
    machine.EMail = "op@x";
    fake.Put(RegRoot::LocalMachine, kMachine, "EMailRegistered", "Yes");
    // An empty value removes; a system without its own logon has no logon values.
    EXPECT_TRUE(WriteEditedMachineSettings(settings, machine, OsFeatures{}));
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "EMailRegistered"), "<missing>");
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachine, "AutoLogin"), "<missing>");  // no logon
}

TEST_F(SettingsTest, ManagedValuesWinAndTheOwnOnesComeBackWhenTheyGo) {
    UseFile(
        "[Tessaro]\r\nAutoLoop=No\r\nDefaultTime=7\r\nMqttBroker=mqtt://show\r\n"
        "[Page1]\r\nURL=a\r\n[Page2]\r\nURL=b\r\nDefaultTime=No\r\n");
    fake.Put(RegRoot::LocalMachine, kMachine, "RebootTime", "01:05");
    fake.Put(RegRoot::LocalMachine, kMachine, "MqttBroker", "mqtt://store");
    fake.Put(RegRoot::LocalMachine, kMachine, "Locked", "Yse");
    Load();
    LoadPresentation(p, d, context, d.CurrentFile);

    Take({{"AutoLoop", "Yes"},
          {"DefaultTime", "30"},
          {"Locked", "No"},
          {"RebootTime", "4:15"},
          {"MqttBroker", "mqtt://managed"},
          {"ScreenSaveTimeOut", "42"}});
    // The file names no MaxTime: the screen saver's delay is its default, as when stored. The
    // page on the default time takes the managed one.
    EXPECT_EQ(std::tuple(p.AutoLoop, p.DefaultTime, p.Pages[0].Time, p.Pages[1].Time,
                         machine.Locked, machine.RebootHour, machine.MqttBroker, p.MaxTime),
              std::tuple(true, 30s, 30s, 7s, false, 4, "mqtt://managed", 42s));
    EXPECT_DOUBLE_EQ(machine.RebootMoment, DateTimeValue(2026, 12, 7, 4, 15));

    Take({{"DefaultTime", "30"}});
    // A presentation never names the broker, managed or not; the own Locked fails closed.
    EXPECT_EQ(std::tuple(p.AutoLoop, p.DefaultTime, machine.Locked, machine.RebootHour,
                         machine.RebootMinute, machine.MqttBroker, p.MaxTime),
              std::tuple(false, 30s, true, 1, 5, "mqtt://store", 300s));
    Take({});
    EXPECT_EQ(std::tuple(p.DefaultTime, p.Pages[0].Time), std::tuple(7s, 7s));
}

// The files of tests/golden/managed.d, with those git cannot hold; what is read and said is
// managed.d.txt ({folder}: the folder).
TEST(ManagedFolder, LaterFilesWinAndOnlyTheLinesThatCannotBeTakenAreLeftOut) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: a symbolic link needs a privilege, and Wine makes none";
#else
    TempFolder temp;
    const std::string folder = temp.File("managed.d"), golden = GoldenFolder() + "/managed.d";
    std::filesystem::copy(golden, folder);
    temp.Write("managed.d/38-huge.ini",
               "[Machine]\n;" + std::string(kMaxManagedFileBytes, 'x') + "\nLocked=Yes\n");
    std::filesystem::create_directory(folder + "/60-folder.ini");
    // Cannot be read at all, also by root: what it says is not known.
    std::filesystem::create_symlink("39-loop.ini", folder + "/39-loop.ini");
    std::filesystem::create_symlink("gone", folder + "/39-gone.ini");  // listed, then missing

    const ManagedRead read = ReadManagedFolder(folder);
    std::string said;
    for (const auto& [key, value] : read.settings.values)
        said += key + "=" + value + "\n";
    for (const std::string& line : read.skipped)
        said += "{folder}" + line.substr(folder.size()) + "\n";
    CompareGolden(golden + ".txt", said);
    EXPECT_TRUE(ReadManagedFolder(folder + "/none").settings.values.empty());
#endif
}

TEST(ManagedFolder, WatchSeesFilesAddedWrittenAndRemovedAlsoInAFolderMadeLater) {
    TempFolder temp;
    const std::string folder = temp.File("managed.d");
    ManagedFolderWatch watch(folder);
    const std::pair<std::function<void()>, bool> steps[] = {
        {[] {}, false},
        {[&] { std::filesystem::create_directory(folder); }, false},
        {[&] { temp.Write("managed.d/10-a.ini", "[Machine]\n"); }, true},
        {[] {}, false},
        {[&] { temp.Write("managed.d/10-a.ini", "[Machine]\nLocked=Yes\n"); }, true},
        {[&] { temp.Write("managed.d/.10-a.ini.swp", "x"); }, false},
        {[&] { std::filesystem::rename(folder + "/10-a.ini", folder + "/20-a.ini"); }, true},
        {[&] { std::filesystem::remove(folder + "/20-a.ini"); }, true},
        {[&] { std::filesystem::remove_all(folder); }, false},
    };
    int step = 0;
    for (const auto& [change, changed] : steps) {
        change();
        EXPECT_EQ(watch.Changed(), changed) << "step " << step++;
    }
}

}  // namespace
}  // namespace pagelark::testing

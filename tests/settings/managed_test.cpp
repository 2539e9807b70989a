#include "settings/managed.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ini/ini_document.h"
#include "support/temp_folder.h"

namespace pagelark::testing {
namespace {

using Values = std::map<std::string, std::string, std::less<>>;

TEST(ManagedFolder, LaterFilesWinAndOnlyTheLinesThatCannotBeTakenAreLeftOut) {
    TempFolder folder;
    // Name, bytes, and why lines or the file are left out.
    const std::tuple<std::string, std::string, std::vector<std::string>> files[] = {
        {"10-base.ini",
         "[Machine]\nLocked=Yes\nRebootTime=3:30\nRefreshMinutes=0,5\nMqttBroker=mqtt://b\n"
         "[Tessaro]\nAutoLoop=No\n"
         "HomeURL=\"http://a/\"\n",
         {}},
        {"20-site.ini", "# ansible\n; site\r\n[tessaro]\r\n autoloop = yes \r\n", {}},
        {"25-wide.ini",
         EncodeIni("[Machine]\r\nEMail=op@example.org\r\n", IniEncoding::Utf16Le),
         {}},
        {"30-faults.ini",
         "[Machine]\nLockd=Yes\nSnap=Yes\nRebootTime=25:00\nWindowState\nsnap=No\n"
         "DefaultFile=/srv/lobby.tso\n[Tessaro]\nMqttBroker=mqtt://x\n[Network]\nProxy=x\n"
         "[Machine]\nAutoReboot=Yes\n",
         {"line 2: no key Lockd is known in [Machine]", "line 4: RebootTime cannot be \"25:00\"",
          "line 5: no section, key or comment", "line 6: snap again",
          "line 9: no key MqttBroker is known in [Tessaro]",
          "line 10: no section [Network] is known",
          "line 11: Proxy in [Network], which is left out", "line 12: [Machine] again",
          "line 13: AutoReboot in [Machine], which is left out"}},
        {"31-relative.ini",
         "[Machine]\nDefaultFile=lobby.tso\nLocked=\n",  // an empty flag sets nothing
         {"line 2: DefaultFile cannot be \"lobby.tso\""}},
        // Whatever a later file says, a Locked not read locks.
        {"37-locked.ini",
         "Locked=No\n[Machine]\nLocked=sometimes\n",
         {"line 1: a key before any section: the kiosk is locked",
          "line 3: Locked cannot be \"sometimes\": the kiosk is locked"}},
        {"38-huge.ini",
         "[Machine]\n;" + std::string(kMaxManagedFileBytes, 'x') + "\nLocked=Yes\n",
         {"larger than 1048576 bytes: the kiosk is locked"}},
        {"40-last.ini", "[Machine]\nLocked=No\nDefaultFile=https://shows.example.org/a.tso\n", {}},
        {".40-copy.ini", "[Machine]\nLocked=Yes\n", {}},  // hidden: never read
        {"50-fleet.INI", "[Machine]\nLocked=Yes\n", {"not read, only files named *.ini are"}},
    };
    for (const auto& [name, bytes, why] : files)
        folder.Write(name, bytes);
    std::filesystem::create_directory(folder.File("60-folder.ini"));
    // Cannot be read at all, also by root: what it says is not known.
    std::filesystem::create_symlink("39-loop.ini", folder.File("39-loop.ini"));

    const ManagedRead read = ReadManagedFolder(folder.path());
    EXPECT_EQ(read.settings.values, (Values{{"AutoLoop", "yes"},
                                            {"DefaultFile", "https://shows.example.org/a.tso"},
                                            {"EMail", "op@example.org"},
                                            {"HomeURL", "http://a/"},
                                            {"Locked", "Yes"},
                                            {"MqttBroker", "mqtt://b"},
                                            {"RebootTime", "3:30"},
                                            {"RefreshMinutes", "0,5"},
                                            {"Snap", "Yes"}}));
    std::vector<std::string> expected;
    for (const auto& [name, bytes, why] : files)
        for (const std::string& line : why)
            expected.push_back(folder.File(name) + ": " + line);
    // Before the name that is not read, said last.
    expected.insert(expected.end() - 1, {folder.File("39-loop.ini") +
                                             ": Too many levels of symbolic links: the kiosk is "
                                             "locked",
                                         folder.File("60-folder.ini") + ": Is a directory"});
    EXPECT_EQ(read.skipped, expected);

    EXPECT_TRUE(ReadManagedFolder(folder.File("none")).settings.values.empty());
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

#include "settings/managed.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ini/ini_document.h"
#include "support/temp_folder.h"

namespace pagelark::testing {
namespace {

using Values = std::map<std::string, std::string, std::less<>>;

TEST(ManagedFolder, LaterFilesWinAndAFileWithAnyFaultIsLeftOutWhole) {
    TempFolder folder;
    // Name, bytes, and why the file is left out ("" when it is read).
    const std::tuple<std::string, std::string, std::string> files[] = {
        {"10-base.ini",
         "[Machine]\nLocked=Yes\nRebootTime=3:30\nRefreshMinutes=0,5\nMqttBroker=mqtt://b\n"
         "[Tessaro]\nAutoLoop=No\n"
         "HomeURL=\"http://a/\"\n",
         ""},
        {"20-site.ini", "# ansible\n; site\r\n[tessaro]\r\n autoloop = yes \r\n", ""},
        {"25-wide.ini", EncodeIni("[Machine]\r\nEMail=op@example.org\r\n", IniEncoding::Utf16Le),
         ""},
        {"30-typo.ini", "[Machine]\nLockd=Yes\n", "line 2: no key Lockd is known in [Machine]"},
        {"31-range.ini", "[Machine]\nRebootTime=25:00\n", "line 2: RebootTime cannot be \"25:00\""},
        {"32-flag.ini", "[Machine]\nLocked=sometimes\n", "line 2: Locked cannot be \"sometimes\""},
        {"32-often.ini", "[Machine]\nRefreshMinutes=often\n",
         "line 2: RefreshMinutes cannot be \"often\""},
        {"33-home.ini", "[Machine]\nHomeURL=http://x/\n",
         "line 2: no key HomeURL is known in [Machine]"},
        {"33-mqtt.ini", "[Tessaro]\nMqttBroker=mqtt://x\n",
         "line 2: no key MqttBroker is known in [Tessaro]"},
        {"34-line.ini", "[Tessaro]\nAutoLoop\n", "line 2: no section, key or comment"},
        {"35-twice.ini", "[Tessaro]\nAutoLoop=No\nautoloop=Yes\n", "line 3: autoloop again"},
        {"36-section.ini", "[Network]\nProxy=x\n", "line 1: no section [Network] is known"},
        {"37-loose.ini", "Locked=No\n", "line 1: a key before any section"},
        {"38-huge.ini", "[Machine]\n;" + std::string(kMaxManagedFileBytes, 'x'),
         "larger than 1048576 bytes"},
        {"40-last.ini", "[Machine]\nLocked=No\n", ""},
        {".40-copy.ini", "[Machine]\nLocked=Yes\n", ""},  // hidden: never read
        {"50-notes.txt", "[Machine]\nLocked=Yes\n", ""},
    };
    for (const auto& [name, bytes, why] : files)
        folder.Write(name, bytes);
    std::filesystem::create_directory(folder.File("60-folder.ini"));

    const ManagedRead read = ReadManagedFolder(folder.path());
    EXPECT_EQ(read.settings.values, (Values{{"AutoLoop", "yes"},
                                            {"EMail", "op@example.org"},
                                            {"HomeURL", "http://a/"},
                                            {"Locked", "No"},
                                            {"MqttBroker", "mqtt://b"},
                                            {"RebootTime", "3:30"},
                                            {"RefreshMinutes", "0,5"}}));
    std::vector<std::string> expected;
    for (const auto& [name, bytes, why] : files)
        if (!why.empty()) expected.push_back(folder.File(name) + ": " + why);
    expected.push_back(folder.File("60-folder.ini") + ": Is a directory");
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

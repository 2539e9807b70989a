#include "settings/file_registry.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/file_io.h"
#include "regfile/reg_file.h"
#include "support/golden.h"
#include "support/temp_folder.h"

namespace pagelark::testing {
namespace {

using namespace std::string_literals;

constexpr RegRoot kMachine = RegRoot::LocalMachine, kUser = RegRoot::CurrentUser;

// Round trips, escapes, value types, versions and deletions are in the golden files
// (tests/golden/*.reg); here what a golden file cannot hold.

TEST(RegFileTest, LeavesOutOnlyTheLinesItCannotReadAndKeepsThemWhereTheyStood) {
    // A line left out (unread.txt) is written back as it stood (unread.written.reg), under its
    // key, after the values read; when the file deletes its key, before the first key. A
    // comment line is kept the same way, but is no line left out.
    const std::string golden = GoldenFolder() + "/store/unread";
    const auto result = ParseRegFile(TempFolder::Read(golden + ".reg"));
    ASSERT_TRUE(result.ok);
    std::string unread;
    for (const auto& line : result.unread)
        unread += std::to_string(line.line) + " " + line.text + "\n";
    CompareGolden(golden + ".txt", unread);
    const std::string written = WriteRegFile(result.document);
    CompareGolden(golden + ".written.reg", written);
    const auto again = ParseRegFile(written);
    EXPECT_EQ(again.unread.size(), result.unread.size());
    EXPECT_EQ(WriteRegFile(again.document), written);

    // Nothing at all is an empty registry rather than a broken one (a wrong header: the store's
    // bad file test).
    for (const std::string empty : {"", "\r\n  \r\n", "\xFF\xFE"})
        EXPECT_TRUE(ParseRegFile(empty).ok);
}

class FileRegistryTest : public ::testing::Test {
  protected:
    FileRegistry Store(const std::string& at) { return FileRegistry(at, errors); }
    std::string Read(const std::string& name) { return TempFolder::Read(temp.File(name)); }
    std::ptrdiff_t ReportedLines() { return std::ranges::count(errors.str(), '\n'); }
    std::string Get(RegRoot root, std::string_view path, std::string_view name) {
        return store.QueryValue(root, path, name).value.data;
    }
    bool Created(RegRoot root, std::string_view path) {
        last = store.CreateKey(root, path);
        return last == RegError::Success;
    }
    // As the registry layer sets text: the key made first.
    bool Set(RegRoot root, std::string_view path, std::string_view name, std::string_view text) {
        if (!Created(root, path)) return false;
        last = store.SetValue(root, path, name, {RegType::String, std::string(text)});
        return last == RegError::Success;
    }

    TempFolder temp;
    std::ostringstream errors;
    FileRegistry store = Store(temp.File("registry"));
    RegError last = RegError::Success;
};

TEST_F(FileRegistryTest, PathsMatchWithoutCaseParentsExistImplicitlyAndBadNamesAreRefused) {
    temp.Write("registry/machine.reg",
               "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\r\n\"V\"=\"1\"\r\n");
    EXPECT_EQ(Get(kMachine, "software\\\\VENDOR\\app\\", "v"), "1");
    EXPECT_EQ(store.OpenKey(kMachine, "Software\\Ven"), RegError::FileNotFound);
    EXPECT_EQ(store.OpenKey(kUser, "Software\\Vendor"), RegError::FileNotFound);
    // Opening or creating an implicit parent stores nothing; setting a value in it does.
    const std::string before = Read("registry/machine.reg");
    EXPECT_TRUE(Created(kMachine, "Software\\Vendor"));
    EXPECT_EQ(Read("registry/machine.reg"), before);
    EXPECT_TRUE(Set(kMachine, "Software\\Vendor", "W", "2"));
    EXPECT_NE(Read("registry/machine.reg")
                  .find("[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"W\"=\"2\"\r\n"),
              std::string::npos);
    // Names the text file could not hold are refused, not mangled.
    EXPECT_FALSE(Set(kMachine, "Software\\Vendor", "two\nlines", "x"));
    EXPECT_EQ(last, RegError::InvalidName);
    EXPECT_FALSE(Created(kMachine, "A\0B"s));
    EXPECT_EQ(last, RegError::InvalidName);
}

TEST_F(FileRegistryTest, CreatesFolderAndFilesPrivatelyAndOnlyOnWrites) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: no umask or permission bits; the registry, not these files, is the "
                    "store there";
#else
    const mode_t oldMask = ::umask(022);
    FileRegistry files = Store(temp.File("a/b/store"));
    EXPECT_EQ(files.OpenKey(kMachine, "Software"), RegError::FileNotFound);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a")));

    EXPECT_EQ(files.CreateKey(kMachine, "Software\\Pagelark"), RegError::Success);
    ::umask(oldMask);
    for (const char* created : {"a", "a/b", "a/b/store"})
        EXPECT_EQ(ModeOf(temp.File(created)), 0700u);
    EXPECT_EQ(ModeOf(temp.File("a/b/store/machine.reg")), 0600u);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a/b/store/user.reg")));
    EXPECT_EQ(errors.str(), "");
#endif
}

// The rest of the file is read and the line kept (RegFileTest, the golden files); here the store.
TEST_F(FileRegistryTest, ABadLineIsReportedWithItsNumberAndWhatItNamesIsKnown) {
    temp.Write("registry/machine.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Locked\"=Yes\r\n");
    EXPECT_EQ(store.UnreadValue(kMachine, "A", "LOCKED"), "line 3 names LOCKED but is not read");
    EXPECT_EQ(store.UnreadValue(kUser, "A", "Locked"), "");
    EXPECT_TRUE(Set(kMachine, "A", "w", "2"));
    EXPECT_FALSE(std::filesystem::exists(temp.File("registry/machine.reg.bad")));
    EXPECT_EQ(ReportedLines(), 1) << errors.str();
    EXPECT_NE(errors.str().find("machine.reg: line 3: "), std::string::npos) << errors.str();
}

// Text that may set a value of the key but is not read as it, also once the store was written:
// the stores golden/store/locked-*.reg, a large one and a link loop; what is said, locked.txt.
TEST_F(FileRegistryTest, AValueThatMayBeSetAndIsNotReadIsFoundWhereverItStands) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: a symbolic link needs a privilege, and Wine makes none";
#else
    const std::string golden = GoldenFolder() + "/store/";
    std::set<std::string> names = {"large", "loop"};
    for (const auto& entry : std::filesystem::directory_iterator(golden))
        if (entry.path().stem().string().starts_with("locked-"))
            names.insert(entry.path().stem().string());
    std::string said;
    for (const std::string& name : names) {
        const bool made = name == "large" || name == "loop";
        const std::string file =
            temp.Write(name + "/machine.reg", made ? "" : TempFolder::Read(golden + name + ".reg"));
        if (name == "large") {  // a hole, then the value
            std::filesystem::resize_file(file, kMaxTextFileBytes);
            std::ofstream(file, std::ios::app) << "\"LOCKED\"=\"Yes\"";
        } else if (name == "loop") {
            std::filesystem::remove(file);
            std::filesystem::create_symlink("machine.reg", file);
        }
        FileRegistry files = Store(temp.File(name));
        const std::string why =
            files.UnreadValue(kMachine, "SOFTWARE\\Halvaro\\Pagelark", "Locked");
        files.CreateKey(kMachine, "SOFTWARE\\Halvaro\\Pagelark\\New");
        EXPECT_EQ(files.UnreadValue(kMachine, "SOFTWARE\\Halvaro\\Pagelark", "Locked"), why)
            << name;
        said += name + ": " + why + "\n";
    }
    CompareGolden(golden + "locked.txt", said);
#endif
}

TEST_F(FileRegistryTest, BadFileIsReportedOnceReadAsEmptyAndKeptBeforeRewrite) {
    const std::string original = "REGEDIT 4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Locked\"=\"1\"\r\n";
    temp.Write("registry/machine.reg", original);
    temp.Write("registry/machine.reg.bad", "an older copy");
    EXPECT_EQ(store.OpenKey(kMachine, "A"), RegError::FileNotFound);
    EXPECT_EQ(Read("registry/machine.reg.bad"), "an older copy");  // reads keep it

    EXPECT_EQ(store.CreateKey(kMachine, "B"), RegError::Success);
    EXPECT_EQ(store.CreateKey(kMachine, "C"), RegError::Success);
    EXPECT_EQ(Read("registry/machine.reg.bad"), original);
#ifndef _WIN32  // no permission bits
    EXPECT_EQ(ModeOf(temp.File("registry/machine.reg.bad")), 0600u);
#endif
    EXPECT_EQ(Read("registry/machine.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\B]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\C]\r\n\r\n");
    EXPECT_EQ(ReportedLines(), 1) << errors.str();
    EXPECT_NE(errors.str().find(temp.File("registry/machine.reg")), std::string::npos);
    EXPECT_NE(errors.str().find("line 1"), std::string::npos);
    EXPECT_EQ(store.UnreadValue(kMachine, "A", "Locked"), "line 3 names Locked but is not read");
    // Only the file as first read is kept; later rewrites leave the copy alone.
    temp.Write("registry/machine.reg", "garbage");
    EXPECT_EQ(store.CreateKey(kMachine, "D"), RegError::Success);
    EXPECT_EQ(Read("registry/machine.reg.bad"), original);
}

TEST_F(FileRegistryTest, RefusesWritesWhileTheBadFileCannotBeKept) {
    const std::string original =
        "\xFF\xFE"
        "A"s;  // an odd number of UTF-16 bytes
    temp.Write("registry/user.reg", original);
    std::filesystem::create_directories(temp.File("registry/user.reg.bad/inside"));
    EXPECT_EQ(store.CreateKey(kUser, "Pagelark"), RegError::AccessDenied);
    EXPECT_EQ(store.OpenKey(kUser, "Pagelark"), RegError::FileNotFound);  // undone
    EXPECT_EQ(store.CreateKey(kUser, "Pagelark"), RegError::AccessDenied);
    EXPECT_EQ(Read("registry/user.reg"), original);
    EXPECT_EQ(ReportedLines(), 2) << errors.str();  // bad, then not kept: once each
    EXPECT_NE(errors.str().find("UTF-16"), std::string::npos);
    // The machine file is unaffected by the user file's trouble.
    EXPECT_EQ(store.CreateKey(kMachine, "Software"), RegError::Success);

    // A store that is not a file is read as empty and never replaced.
    std::filesystem::create_directories(temp.File("other/machine.reg/x"));
    FileRegistry other = Store(temp.File("other"));
    EXPECT_EQ(other.OpenKey(kMachine, "A"), RegError::FileNotFound);
    EXPECT_EQ(other.CreateKey(kMachine, "A"), RegError::AccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("other/machine.reg/x")));
    EXPECT_NE(errors.str().find(temp.File("other/machine.reg")), std::string::npos);
}

TEST_F(FileRegistryTest, FailedWriteIsUndoneAndLeavesTheOldFile) {
    // A loaded store whose folder is swapped for a file: every change fails and is undone.
    // Values of each type, in the writer's own layout.
    const std::string original =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"old\"\r\n\"d\"=dword:0000012c\r\n"
        "\"b\"=hex:01,ab,ff\r\n\"e\"=hex(2):25,00\r\n\r\n";
    temp.Write("registry/user.reg", original);
    ASSERT_EQ(store.OpenKey(kUser, "A"), RegError::Success);
    std::filesystem::rename(temp.File("registry"), temp.File("moved"));
    temp.Write("registry", "not a folder");
    EXPECT_EQ(store.SetValue(kUser, "A", "v", RegValue{RegType::String, "new"}),
              RegError::WriteFault);
    EXPECT_EQ(store.CreateKey(kUser, "B"), RegError::WriteFault);
    EXPECT_EQ(store.QueryValue(kUser, "A", "v").value.data, "old");
    EXPECT_EQ(store.OpenKey(kUser, "B"), RegError::FileNotFound);

    std::filesystem::remove(temp.File("registry"));
    std::filesystem::rename(temp.File("moved"), temp.File("registry"));
    EXPECT_EQ(Read("registry/user.reg"), original);
    EXPECT_EQ(store.CreateKey(kUser, "C"), RegError::Success);
    EXPECT_EQ(Read("registry/user.reg"), original + "[HKEY_CURRENT_USER\\C]\r\n\r\n");

    // Refused by the system, it is AccessDenied: a read-only file on Windows, a folder that may
    // not be written elsewhere (which does not bind root).
#ifdef _WIN32
    const std::string locked = temp.File("registry/user.reg");
#else
    const std::string locked = temp.File("registry");
    if (::geteuid() == 0) return;
#endif
    namespace fs = std::filesystem;
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(store.CreateKey(kUser, "D"), RegError::AccessDenied);
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(store.CreateKey(kUser, "D"), RegError::Success);
}

}  // namespace
}  // namespace pagelark::testing

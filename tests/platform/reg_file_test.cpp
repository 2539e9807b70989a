#include "platform/linux/reg_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/temp_registry.h"

namespace pagelark::testing {
namespace {

using namespace std::string_literals;

// Round trips, escapes, value types, versions and deletions are in the golden files
// (tests/golden/*.reg); here what a golden file cannot hold.

TEST(RegFileTest, RefusesMalformedFilesNamingTheLine) {
    // A file read wrongly would be rewritten wrongly; what is not understood is refused.
    const std::pair<std::string, std::size_t> rows[] = {
        {"REGEDIT5\r\n[A]\r\n", 1},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n", 2},
        {"REGEDIT4\r\n\"a\"=\"b\"\r\n", 2},  // a value before any key
        {"REGEDIT4\r\n[A]\r\n\"a\"=\"b\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=dword:123456789\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=hex:01,\\\r\n  zz\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\r\n\"a\"=\"b\0\"\r\n"s, 4},
    };
    for (const auto& [text, line] : rows) {
        const auto result = ParseRegFile(text);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.line, line) << text;
        EXPECT_EQ(result.document.KeyCount(), 0u);
    }
    // Nothing at all is an empty registry rather than a broken one.
    for (const std::string empty : {"", "\r\n  \r\n", "\xFF\xFE"})
        EXPECT_TRUE(ParseRegFile(empty).ok);
}

class RegStoreTest : public ::testing::Test, public TempRegistry {
  protected:
    FileRegistry Store(const std::string& at) { return FileRegistry(at, errors); }
    std::string Read(const std::string& name) { return TempFolder::Read(temp.File(name)); }
    long ReportedLines() { return std::ranges::count(errors.str(), '\n'); }

    std::ostringstream errors;
};

TEST_F(RegStoreTest, CreatesFolderAndFilesPrivatelyAndOnlyOnWrites) {
    const mode_t oldMask = ::umask(022);
    FileRegistry files = Store(temp.File("a/b/store"));
    EXPECT_EQ(files.OpenKey(RegRoot::LocalMachine, "Software"), RegError::FileNotFound);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a")));

    EXPECT_EQ(files.CreateKey(RegRoot::LocalMachine, "Software\\Pagelark"), RegError::Success);
    ::umask(oldMask);
    for (const char* created : {"a", "a/b", "a/b/store"})
        EXPECT_EQ(ModeOf(temp.File(created)), 0700u);
    EXPECT_EQ(ModeOf(temp.File("a/b/store/machine.reg")), 0600u);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a/b/store/user.reg")));
    EXPECT_EQ(errors.str(), "");
}

TEST_F(RegStoreTest, BadFileIsReportedOnceReadAsEmptyAndKeptBeforeRewrite) {
    const std::string original = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"1\"\r\nbroken\r\n";
    temp.Write("machine.reg", original);
    temp.Write("machine.reg.bad", "an older copy");
    FileRegistry files = Store(temp.path());
    EXPECT_EQ(files.OpenKey(RegRoot::LocalMachine, "A"), RegError::FileNotFound);
    EXPECT_EQ(Read("machine.reg.bad"), "an older copy");  // reads keep it

    EXPECT_EQ(files.CreateKey(RegRoot::LocalMachine, "B"), RegError::Success);
    EXPECT_EQ(files.CreateKey(RegRoot::LocalMachine, "C"), RegError::Success);
    EXPECT_EQ(Read("machine.reg.bad"), original);
    EXPECT_EQ(ModeOf(temp.File("machine.reg.bad")), 0600u);
    EXPECT_EQ(Read("machine.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\B]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\C]\r\n\r\n");
    EXPECT_EQ(ReportedLines(), 1) << errors.str();
    EXPECT_NE(errors.str().find(temp.File("machine.reg")), std::string::npos);
    EXPECT_NE(errors.str().find("line 4"), std::string::npos);
    // Only the file as first read is kept; later rewrites leave the copy alone.
    temp.Write("machine.reg", "garbage");
    EXPECT_EQ(files.CreateKey(RegRoot::LocalMachine, "D"), RegError::Success);
    EXPECT_EQ(Read("machine.reg.bad"), original);
}

TEST_F(RegStoreTest, RefusesWritesWhileTheBadFileCannotBeKept) {
    const std::string original = "REGEDIT4\r\n[A]\0\r\n"s;  // a NUL in version 4 text
    temp.Write("user.reg", original);
    std::filesystem::create_directories(temp.File("user.reg.bad/inside"));
    FileRegistry files = Store(temp.path());
    EXPECT_EQ(files.CreateKey(RegRoot::CurrentUser, "Pagelark"), RegError::AccessDenied);
    EXPECT_EQ(files.OpenKey(RegRoot::CurrentUser, "Pagelark"), RegError::FileNotFound);  // undone
    EXPECT_EQ(files.CreateKey(RegRoot::CurrentUser, "Pagelark"), RegError::AccessDenied);
    EXPECT_EQ(Read("user.reg"), original);
    EXPECT_EQ(ReportedLines(), 2) << errors.str();  // bad, then not kept: once each
    EXPECT_NE(errors.str().find("NUL"), std::string::npos);
    // The machine file is unaffected by the user file's trouble.
    EXPECT_EQ(files.CreateKey(RegRoot::LocalMachine, "Software"), RegError::Success);

    // A store that is not a file is read as empty and never replaced.
    std::filesystem::create_directories(temp.File("other/machine.reg/x"));
    FileRegistry other = Store(temp.File("other"));
    EXPECT_EQ(other.OpenKey(RegRoot::LocalMachine, "A"), RegError::FileNotFound);
    EXPECT_EQ(other.CreateKey(RegRoot::LocalMachine, "A"), RegError::AccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("other/machine.reg/x")));
    EXPECT_NE(errors.str().find(temp.File("other/machine.reg")), std::string::npos);
}

TEST_F(RegStoreTest, FailedWriteIsUndoneAndLeavesTheOldFile) {
    // A loaded store whose folder is swapped for a file: every change fails and is undone.
    const std::string original = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"old\"\r\n\r\n";
    temp.Write("store/user.reg", original);
    FileRegistry files = Store(temp.File("store"));
    ASSERT_EQ(files.OpenKey(RegRoot::CurrentUser, "A"), RegError::Success);
    std::filesystem::rename(temp.File("store"), temp.File("moved"));
    temp.Write("store", "not a folder");
    EXPECT_EQ(files.SetValue(RegRoot::CurrentUser, "A", "v", RegValue{RegType::String, "new"}),
              RegError::WriteFault);
    EXPECT_EQ(files.CreateKey(RegRoot::CurrentUser, "B"), RegError::WriteFault);
    EXPECT_EQ(files.QueryValue(RegRoot::CurrentUser, "A", "v").value.data, "old");
    EXPECT_EQ(files.OpenKey(RegRoot::CurrentUser, "B"), RegError::FileNotFound);

    std::filesystem::remove(temp.File("store"));
    std::filesystem::rename(temp.File("moved"), temp.File("store"));
    EXPECT_EQ(Read("store/user.reg"), original);
    EXPECT_EQ(files.CreateKey(RegRoot::CurrentUser, "C"), RegError::Success);
    EXPECT_EQ(Read("store/user.reg"), original + "[HKEY_CURRENT_USER\\C]\r\n\r\n");
}

}  // namespace
}  // namespace pagelark::testing

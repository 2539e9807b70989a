#include "storage/file_utils.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "ini/ini_store.h"
#include "platform/shares.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

TEST(PathHelpers, SeparatorsAndExtensions) {
    EXPECT_EQ(WithTrailingSeparator("/srv"), "/srv/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithoutTrailingSeparator("/srv//"), "/srv/");  // one separator only
    EXPECT_FALSE(IsAbsolutePath("a/b"));
    EXPECT_EQ(GetExtension("/srv/my.shows/readme"), "shows/readme");  // after the last dot
}

class CountingShares final : public ShareConnector {
  public:
    bool Connect(const std::string& share) override {
        ++connects;
        return share.find("refused") == std::string::npos;
    }
    bool Disconnect(const std::string& share) override {
        disconnected.push_back(share);
        return true;
    }
    int connects = 0;
    std::vector<std::string> disconnected;
};

class FileUtilsTest : public ::testing::Test {
  protected:
    CountingShares shares;
    IniStore iniFiles;
    FileUtils files{shares, iniFiles};
    TempFolder temp;
};

TEST_F(FileUtilsTest, FileAndFolderChangesRecordTheError) {
    const std::string deep = temp.File("a/b/c");
    EXPECT_TRUE(files.MakeFolder(deep));  // with every missing parent
    EXPECT_TRUE(DirExists(deep));
    const std::string keep = temp.Write("a/b/c/keep", "x");
    EXPECT_FALSE(files.RemoveFolder(deep));
    EXPECT_EQ(files.LastFileError(), ENOTEMPTY);
    EXPECT_TRUE(files.RemoveFile(keep));
    EXPECT_FALSE(files.RemoveFile(keep));
    EXPECT_EQ(files.LastFileError(), ENOENT);
    EXPECT_TRUE(files.RemoveFolder(deep));
    EXPECT_FALSE(DirExists(deep));
}

TEST_F(FileUtilsTest, WriteLinesEndsEveryLineWithCrLf) {
    const std::string file = temp.Write("show.tso", "old content that is longer");
    EXPECT_TRUE(files.WriteLines(file, {"[Tessaro]", "HomeURL=x", ""}));
    EXPECT_EQ(TempFolder::Read(file), "[Tessaro]\r\nHomeURL=x\r\n\r\n");
    EXPECT_EQ(iniFiles.ReadString("Tessaro", "HomeURL", file), "x");
    EXPECT_FALSE(files.WriteLines(temp.File("missing/show.tso"), {"x"}));
}

TEST_F(FileUtilsTest, SharesAreConnectedOnceAndSlotsReused) {
    files.DirExists("\\\\s\\a\\folder");  // a share path connects its share first
    EXPECT_EQ(shares.connects, 1);
    EXPECT_TRUE(files.ConnectShare("\\\\s\\a"));
    EXPECT_EQ(shares.connects, 1);
    EXPECT_TRUE(files.ConnectShare("\\\\s\\b"));
    EXPECT_TRUE(files.ConnectShare("\\\\s\\c"));
    EXPECT_FALSE(files.ConnectShare("\\\\s\\refused"));
    EXPECT_TRUE(files.DisconnectShare("\\\\s\\b"));
    EXPECT_TRUE(files.ConnectShare("\\\\s\\d"));  // takes the emptied slot
    EXPECT_EQ(files.ConnectedShares(),
              (std::vector<std::string>{"\\\\s\\a", "\\\\s\\d", "\\\\s\\c"}));
    EXPECT_TRUE(files.DisconnectShare("\\\\s\\c"));
    EXPECT_EQ(files.ConnectedShares().size(), 2u);  // a trailing empty slot is dropped
    files.DisconnectAllShares();
    EXPECT_TRUE(files.ConnectedShares().empty());
    EXPECT_EQ(shares.disconnected,
              (std::vector<std::string>{"\\\\s\\b", "\\\\s\\c", "\\\\s\\d", "\\\\s\\a"}));
}

}  // namespace
}  // namespace pagelark

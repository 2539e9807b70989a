#include "storage/file_utils.h"

#include <gtest/gtest.h>

#include "ini/ini_store.h"
#include "platform/shares.h"

namespace pagelark {
namespace {

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

TEST(FileUtilsTest, SharesAreConnectedOnceAndSlotsReused) {
    CountingShares shares;
    IniStore iniFiles;
    FileUtils files{shares, iniFiles};
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

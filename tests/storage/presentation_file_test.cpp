#include "storage/presentation_file.h"

#include <gtest/gtest.h>

#include "ini/ini_store.h"
#include "platform/windows_only/shares.h"
#include "storage/file_utils.h"
#include "support/document_world.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

using namespace std::string_literals;

class PresentationFileTest : public ::testing::Test, public DocumentWorld {
  protected:
    // As the kiosk's start and the File command load: an empty .tso receives the starter.
    void Load(const std::string& path) {
        d.CurrentFile = path;
        PresentationSource source = ReadPresentation(path);
        GiveStarter(d, context, source);
        LoadPresentation(p, d, context, source);
    }
    std::string Save(const std::string& path) {
        const Result<> saved = SavePresentation(p, d, context, path);
        EXPECT_TRUE(saved) << saved.Error();
        return TempFolder::Read(path);
    }
};

// What a load reads and a save writes is in the golden files (tests/golden); here
// what a load resets and what a save changes.
TEST_F(PresentationFileTest, SaveMovesTheFileAndPagesOnTheDefaultFollowIt) {
    const std::string path = temp.Write(
        "show.tso", "[Page1]\r\nURL=a\r\n[Page2]\r\nURL=b\r\nDefaultTime=no\r\nTime=10\r\n");
    d.EditorLoaded = true;
    Load(path);
    EXPECT_FALSE(d.EditorLoaded);
    d.Modified = true;
    const std::string saved = Save(temp.File("copy.tso"));
    EXPECT_EQ(d.CurrentFile, temp.File("copy.tso"));
    EXPECT_FALSE(d.Modified);
    EXPECT_EQ(Save(path), saved);  // the same bytes again
    p.DefaultTime = 20s;
    Save(path);
    EXPECT_EQ(p.Pages[0].Time, 10s);  // the model keeps what it had until reloaded
    d.Modified = true;
    Load(path);
    EXPECT_EQ(std::tuple(p.Pages[0].Time, p.Pages[1].Time, d.Modified),
              std::tuple(20s, 10s, false));
    // A managed default time is not the file's: a page off the default keeps its own.
    settings.SetManaged({{{"DefaultTime", "5"}}});
    settings.Managed().Apply(p, machine, 0.0);
    p.Pages[1].Time = 5s;
    Save(path);
    settings.SetManaged({});
    Load(path);
    EXPECT_EQ(std::tuple(p.DefaultTime, p.Pages[0].Time, p.Pages[1].Time),
              std::tuple(20s, 20s, 5s));
}

TEST_F(PresentationFileTest, OnlyAnEmptyTsoFileReceivesTheStarter) {
    const std::string path = temp.Write("Empty.TsO", "");
    Load(path);
    EXPECT_EQ(p.HomeURL, "/tmp/t/Pagelark/index.html");  // the starter's options...
    EXPECT_TRUE(p.Pages.empty());                        // ...but its pages only next time
    EXPECT_EQ(TempFolder::Read(path),
              "[Tessaro]\r\nHomeURL=/tmp/t/Pagelark/index.html\r\n"
              "[Page1]\r\nURL=/tmp/t/Pagelark/pagelark.html#setup\r\n"
              "[Page2]\r\nURL=/tmp/t/Pagelark/link.html\r\n"
              "[Page3]\r\nURL=/tmp/t/Pagelark/documentation.html\r\n");
    EXPECT_EQ(d.StarterFile, path);
    Load(path);
    ASSERT_EQ(p.Pages.size(), 3u);
    EXPECT_EQ(p.Pages[2].URL, help[3]);

    // Anything else in a file is somebody's, even with no section the program can read.
    for (const std::string& bytes :
         {"; only a comment\r\n"s, "URL=http://a/"s, "\xFF\xFE;\0x\0"s}) {
        const std::string looked = temp.Write("look.tso", bytes);
        Load(looked);
        EXPECT_EQ(TempFolder::Read(looked), bytes);
        EXPECT_EQ(std::tuple(p.HomeURL, d.LoadProblem),
                  std::tuple("about:blank", "holds no presentation sections"));
    }
    const std::string other = temp.Write("notes.txt", "");
    Load(other);
    EXPECT_EQ(std::tuple(TempFolder::Read(other), d.LoadProblem), std::tuple("", ""));
    // The default file is recognised with its exact case only.
    Load(temp.Write("Pagelark.TSO", ""));
    EXPECT_TRUE(d.IsDefaultFile);
    Load(temp.Write("pagelark.tso", ""));
    EXPECT_FALSE(d.IsDefaultFile);
    Load(temp.File("missing.tso"));  // only the default file is created when missing
    EXPECT_FALSE(FileExists(temp.File("missing.tso")));
}

TEST_F(PresentationFileTest, OnlyTheStarterAsWrittenIsUntouched) {
    const std::string path = temp.File("Pagelark.TSO");
    // As written, then with a line more, then as a copy under another name.
    for (const int edit : {0, 1, 2}) {
        d = Document{};
        d.CurrentFile = path;
        ASSERT_TRUE(WriteTemplatePresentation(d, context, path));
        Load(path);
        if (edit == 1) temp.Write("Pagelark.TSO", TempFolder::Read(path) + "\r\n");
        if (edit == 2) d.CurrentFile = temp.Write("Copy.TSO", TempFolder::Read(path));
        EXPECT_EQ(IsUntouchedStarter(d), edit == 0) << edit;
    }
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
}  // namespace pagelark::testing

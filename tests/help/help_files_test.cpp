#include "help/help_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "help/help_paths.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

class FakeResources final : public HelpResources {
  public:
    std::optional<std::string> Load(std::int32_t id, std::string_view type) const override {
        const auto found = files.find({id, std::string(type)});
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    std::map<std::pair<std::int32_t, std::string>, std::string> files;
};

class HelpFilesTest : public ::testing::Test {
  protected:
    HelpFilesTest() {
        resources.files[{102, "HTMLFILE"}] = "<html>index</html>";
        std::filesystem::create_directory(dir);
    }

    TempFolder temp;
    const std::string dir = temp.path() + "/with blank/";
    FakeResources resources;
    std::vector<HelpFile> table = BuildHelpFileTable();
};

TEST_F(HelpFilesTest, WritesWhatTheProgramCarriesAndDeletesOnlyThat) {
    ASSERT_TRUE(ExtractHelpFiles(table, resources, dir));
    const std::string folder = dir + "Pagelark";
    EXPECT_FALSE(std::filesystem::exists(folder + "/link.html"));  // no such resource
#ifndef _WIN32                                                     // no permission bits
    EXPECT_EQ(testing::ModeOf(folder), 0700u);
#endif
    // A folder holding the visitor's files stays.
    temp.Write("with blank/Pagelark/mine.txt", "keep");
    DeleteHelpFiles(table, dir);
    EXPECT_FALSE(std::filesystem::exists(folder + "/index.html"));
    EXPECT_EQ(TempFolder::Read(folder + "/mine.txt"), "keep");
}

TEST_F(HelpFilesTest, ALinkInPlaceOfTheFolderOrAFileIsNotFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: a symbolic link needs a privilege, and Wine makes none";
#else
    const std::string victim = temp.Write("elsewhere/index.html", "victim");
    std::filesystem::create_directory_symlink(temp.File("elsewhere"), dir + "Pagelark");
    EXPECT_FALSE(ExtractHelpFiles(table, resources, dir));
    DeleteHelpFiles(table, dir);
    EXPECT_EQ(TempFolder::Read(victim), "victim");

    std::filesystem::remove(dir + "Pagelark");
    std::filesystem::create_directory(dir + "Pagelark");
    std::filesystem::create_symlink(victim, dir + "Pagelark/index.html");
    EXPECT_TRUE(ExtractHelpFiles(table, resources, dir));
    EXPECT_EQ(TempFolder::Read(victim), "victim");
#endif
}

TEST_F(HelpFilesTest, AHelpPageOfAnotherRunsFolderPlaysFromThisRunsFolder) {
    const std::string mine = "/run/user/1000/Pagelark", kept = temp.Write("Pagelark/link.html", "");
    const struct {
        std::string address, played;
    } cases[] = {{temp.File("gone/Pagelark/pagelark.html"), mine + "/pagelark.html"},
                 {temp.File("gone/Pagelark/pagelark.html#setup"), mine + "/pagelark.html#setup"},
                 {kept, kept},  // still there: another run's or the owner's own
                 {"/tmp/x/Pagelark/notes.html", "/tmp/x/Pagelark/notes.html"},
                 {"/tmp/x/Other/index.html", "/tmp/x/Other/index.html"},
                 {"https://x/Pagelark/index.html", "https://x/Pagelark/index.html"}};
    for (const auto& c : cases)
        EXPECT_EQ(RelocatedHelpPage(c.address, mine), c.played) << c.address;
}

TEST(HelpPaths, PlaceholderIsReplacedEverywhereInExactCase) {
    EXPECT_EQ(ExpandTempPath("\"{TempPath}/a\" {TempPath}/b", "/t/"), "\"/t/a\" /t/b");
    EXPECT_EQ(ExpandTempPath("{temppath}/a", "/t/"), "{temppath}/a");
    EXPECT_EQ(ExpandTempPath("{TempPath}/a", ""), "a");  // no temporary folder known
}

}  // namespace
}  // namespace pagelark

#include "help/help_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

class FakeResources final : public HelpResources {
  public:
    std::optional<std::string> Load(std::int32_t id, std::string_view type) const override {
        const auto found = files.find({id, std::string(type)});
        if (found == files.end()) return std::nullopt;
        return found->second;
    }
    std::map<std::pair<std::int32_t, std::string>, std::string> files;
};

class HelpFilesTest : public ::testing::Test {
  protected:
    HelpFilesTest() {
        resources.files[{102, "HTMLFILE"}] = "<html>index</html>";
        resources.files[{151, "HTMLFILE"}] = std::string("bytes\0as they are\r\n", 20);
    }
    // A temporary folder whose path holds a blank, ending with a separator.
    std::string TempDir() const { return temp.path() + "/with blank/"; }

    TempFolder temp;
    FakeResources resources;
    std::vector<HelpFile> table = BuildHelpFileTable();
};

TEST_F(HelpFilesTest, WritesWhatTheProgramCarriesAndDeletesItAgain) {
    std::filesystem::create_directory(TempDir());
    ASSERT_TRUE(ExtractHelpFiles(table, resources, TempDir()));
    const std::string folder = TempDir() + "Pagelark";
    EXPECT_EQ(TempFolder::Read(folder + "/index.html"), "<html>index</html>");
    EXPECT_EQ(TempFolder::Read(folder + "/pagelark.html"),
              std::string("bytes\0as they are\r\n", 20));
    EXPECT_FALSE(std::filesystem::exists(folder + "/link.html"));  // no such resource
    struct stat st {};
    ::stat(folder.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    DeleteHelpFiles(table, TempDir());
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(HelpFilesTest, FolderWithTheVisitorsFilesStays) {
    std::filesystem::create_directory(TempDir());
    ASSERT_TRUE(ExtractHelpFiles(table, resources, TempDir()));
    temp.Write("with blank/Pagelark/mine.txt", "keep");
    DeleteHelpFiles(table, TempDir());
    EXPECT_FALSE(std::filesystem::exists(TempDir() + "Pagelark/index.html"));
    EXPECT_EQ(TempFolder::Read(TempDir() + "Pagelark/mine.txt"), "keep");
}

TEST_F(HelpFilesTest, ALinkInPlaceOfTheFolderOrAFileIsNotFollowed) {
    std::filesystem::create_directory(TempDir());
    std::filesystem::create_directory(temp.File("elsewhere"));
    const std::string victim = temp.Write("elsewhere/index.html", "victim");
    std::filesystem::create_directory_symlink(temp.File("elsewhere"), TempDir() + "Pagelark");
    EXPECT_FALSE(ExtractHelpFiles(table, resources, TempDir()));
    DeleteHelpFiles(table, TempDir());
    EXPECT_EQ(TempFolder::Read(victim), "victim");

    std::filesystem::remove(TempDir() + "Pagelark");
    std::filesystem::create_directory(TempDir() + "Pagelark");
    std::filesystem::create_symlink(victim, TempDir() + "Pagelark/index.html");
    EXPECT_TRUE(ExtractHelpFiles(table, resources, TempDir()));
    EXPECT_EQ(TempFolder::Read(victim), "victim");
}

}  // namespace
}  // namespace pagelark

#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

TEST(FileChecks, FoldersAreNotFilesAndPipesAreNotRead) {
    TempFolder temp;
    const std::string file = temp.Write("a.tso", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file + "/"));  // one trailing separator is ignored
    EXPECT_FALSE(FileExists(temp.path()));
    EXPECT_TRUE(DirExists(temp.path()));
    EXPECT_FALSE(DirExists(file));
    const std::string fifo = temp.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(FileExists(fifo));  // and it returns rather than waiting for a writer
}

}  // namespace
}  // namespace pagelark

#include "platform/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::ScopedVariable;
using testing::TempFolder;

TEST(TempDir, FollowsTheEnvironmentThenFallsBackToAPrivateFolderInTmp) {
    ScopedVariable runtime("XDG_RUNTIME_DIR", "/run/user/7");
    ScopedVariable tmp("TMPDIR", nullptr);
    EXPECT_EQ(TempDir(), "/run/user/7/");
    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string dir = TempDir();
    ASSERT_EQ(dir, "/tmp/pagelark-" + std::to_string(::geteuid()) + "/");
    struct stat st {};
    ASSERT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(ReserveTempFile, CreatesAnEmptyUniqueFile) {
    TempFolder temp;
    const std::string first = ReserveTempFile(temp.path() + "/");
    const std::string second = ReserveTempFile(temp.path() + "/");
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(std::filesystem::file_size(first), 0u);
    EXPECT_EQ(ReserveTempFile(temp.path() + "/missing/"), "");
}

}  // namespace
}  // namespace pagelark

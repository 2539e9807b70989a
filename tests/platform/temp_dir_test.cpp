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

TEST(TempDir, FollowsTheEnvironmentWithATrailingSeparator) {
    ScopedVariable runtime("XDG_RUNTIME_DIR", "/run/user/7");
    {
        ScopedVariable tmp("TMPDIR", "/var/tmp/k");
        EXPECT_EQ(TempDir(), "/var/tmp/k/");
    }
    ScopedVariable tmp("TMPDIR", nullptr);
    EXPECT_EQ(TempDir(), "/run/user/7/");
}

TEST(TempDir, FallsBackToAPrivateFolderInTmp) {
    ScopedVariable runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedVariable tmp("TMPDIR", nullptr);
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
    EXPECT_EQ(std::filesystem::path(first).filename().string().rfind("TMP", 0), 0u);
    EXPECT_EQ(std::filesystem::file_size(first), 0u);
    EXPECT_EQ(ReserveTempFile(temp.path() + "/missing/"), "");
    EXPECT_EQ(ReserveTempFile(""), "");
}

}  // namespace
}  // namespace pagelark

#include "platform/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::ScopedVariable;
using testing::TempFolder;

TEST(TempDir, FollowsTheEnvironmentToPrivateFoldersOnlyThenFallsBackToOneInTmp) {
    TempFolder temp;
    const std::string ours = temp.path() + "/ours", shared = temp.path() + "/shared";
    ::mkdir(ours.c_str(), 0700);
    ::mkdir(shared.c_str(), 0700);
    ::chmod(shared.c_str(), 0777);
    ScopedVariable tmp("TMPDIR", shared.c_str());
    ScopedVariable runtime("XDG_RUNTIME_DIR", ours.c_str());
    EXPECT_EQ(TempDir(), ours + "/");  // others could put pages in the shared one
    ::setenv("TMPDIR", "/tmp", 1);     // everybody's, and not ours
    ::setenv("XDG_RUNTIME_DIR", (temp.path() + "/missing").c_str(), 1);
    const std::string dir = TempDir();
    ASSERT_EQ(dir, "/tmp/pagelark-" + std::to_string(::geteuid()) + "/");
    EXPECT_EQ(testing::ModeOf(dir), 0700u);
}

}  // namespace
}  // namespace pagelark

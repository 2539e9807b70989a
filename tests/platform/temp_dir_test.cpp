#include "platform/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/file_io.h"
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
    ScopedVariable tmp("TMPDIR", shared.c_str()), runtime("XDG_RUNTIME_DIR", ours.c_str());
    EXPECT_EQ(TempDir(), ours + "/");  // others could put pages in the shared one
    ::setenv("TMPDIR", "/tmp", 1);     // everybody's, and not ours
    ::setenv("XDG_RUNTIME_DIR", (temp.path() + "/missing").c_str(), 1);
    const std::string dir = TempDir();
    ASSERT_EQ(dir, "/tmp/pagelark-" + std::to_string(::geteuid()) + "/");
    EXPECT_EQ(testing::ModeOf(dir), 0700u);
}

// A kiosk killed in the middle of a save leaves its temporary files; the next start tidies.
TEST(Leftovers, FilesOfDeadRunsGoFilesOfLiveRunsAndOthersStay) {
    TempFolder temp;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = std::to_string(child), live = std::to_string(::getppid());
    const std::string own = std::to_string(::getpid());  // this run has written nothing yet
    const std::vector<std::string> gone = {"TMP" + dead + "-abc123", "TMP" + own + "-abc123",
                                           ".show.tso." + dead + "-x1Y2z3"};
    const std::vector<std::string> stay = {
        "TMP" + live + "-abc123",         "TMPabc123",
        "TMP" + dead + "-abc12",          ".show.tso." + live + "-x1Y2z3",
        ".other.tso." + dead + "-x1Y2z3", "show.tso"};
    for (const auto& list : {gone, stay})
        for (const std::string& name : list)
            temp.Write(name, "x");
    RemoveLeftoverTempFiles(temp.path() + "/");
    RemoveLeftoverReplacements(temp.File("show.tso"));
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, std::set<std::string>(stay.begin(), stay.end()));
}

}  // namespace
}  // namespace pagelark

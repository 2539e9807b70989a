#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/files.h"
#include "platform/temp_dir.h"
#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::ScopedVariable;
using testing::TempFolder;
using namespace std::string_literals;

TEST(FileChecks, FoldersAreNotFilesAndPipesAreNotRead) {
    TempFolder temp;
    const std::string file = temp.Write("a", "x\0y"s);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file + "/"));  // one trailing separator is ignored
    EXPECT_FALSE(FileExists(temp.path()));
    EXPECT_TRUE(DirExists(temp.path()));
    EXPECT_FALSE(DirExists(file));
    const ReadResult read = ReadWholeFile(file);
    EXPECT_EQ(std::tuple(read.status, read.data), std::tuple(ReadStatus::Ok, "x\0y"s));
    // Each returns rather than waiting for a writer.
    const std::string fifo = temp.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(FileExists(fifo));
    EXPECT_EQ(ReadWholeFile(fifo).status, ReadStatus::NotAFile);
    EXPECT_EQ(ReadWholeFile("/dev/zero").status, ReadStatus::NotAFile);
}

TEST(ReplaceFileAtomically, ReplacesKeepingModeAndLinkAndFailsLeavingTheOldFile) {
    TempFolder temp;
    const std::string file = temp.Write("show.tso", "old");
    ::chmod(file.c_str(), 0640);
    const std::string link = temp.File("link.tso");
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    const Result<> replaced = ReplaceFileAtomically(link, "new");
    ASSERT_TRUE(replaced) << replaced.Error();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::Read(file), "new");
    EXPECT_EQ(testing::ModeOf(file), 0640u);
    // Nothing but the file and the link is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 2);
    // A new file's mode asked for: the settings store's files (FileRegistryTest).

    EXPECT_EQ(ReplaceFileAtomically(temp.File("missing/x"), "x").Error(),
              "No such file or directory");
    EXPECT_FALSE(ReplaceFileAtomically(temp.path(), "x"));  // a folder is not replaced
    EXPECT_FALSE(ReplaceFileAtomically(file + "/child", "x"));
    EXPECT_EQ(TempFolder::Read(file), "new");
    // A pipe (or a device) stays what it is.
    const std::string pipe = temp.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReplaceFileAtomically(pipe, "x").Error(), "not a regular file");
    EXPECT_EQ(std::filesystem::status(pipe).type(), std::filesystem::file_type::fifo);
}

TEST(WriteGuarded, WritesInTheFolderItOpenedAndReplacesALinkPutInTheWayRatherThanFollowIt) {
    TempFolder temp;
    const std::string store = temp.Write("machine.reg", "store");
    const std::string snap = temp.File("snap"), moved = temp.File("moved");
    ASSERT_EQ(::mkdir(snap.c_str(), 0700), 0);
    // What a racing caller does between the first check and the write.
    std::function<void()> meanwhile;
    std::string refusal;
    std::vector<WritePlace> seen;
    const PlaceCheck check = [&](const WritePlace& place) {
        seen.push_back(place);
        if (seen.size() == 1) meanwhile();
        return seen.size() == 2 && !refusal.empty() ? Result<>(Fail(refusal)) : Done();
    };
    const auto write = [&](const std::string& name) {
        seen.clear();
        return WriteGuarded(snap + "/" + name, "png", check);
    };

    meanwhile = [&] { ASSERT_EQ(::symlink(store.c_str(), (snap + "/a.png").c_str()), 0); };
    ASSERT_TRUE(write("a.png"));
    EXPECT_EQ(std::tuple(TempFolder::Read(snap + "/a.png"), TempFolder::Read(store)),
              std::tuple("png", "store"));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(std::tuple(seen[0].kind, seen[1].kind),
              std::tuple(EntryKind::Missing, EntryKind::Link));
    EXPECT_EQ(std::optional(seen[1].folders.at(1)), IdOf(temp.path()));

    meanwhile = [&] {
        ASSERT_EQ(::rename(snap.c_str(), moved.c_str()), 0);
        ASSERT_EQ(::symlink(temp.path().c_str(), snap.c_str()), 0);
    };
    ASSERT_TRUE(write("b.png"));
    EXPECT_EQ(TempFolder::Read(moved + "/b.png"), "png");
    EXPECT_FALSE(std::filesystem::exists(temp.File("b.png")));

    // Refused at the last check: nothing written, nothing left behind.
    meanwhile = [&] { ASSERT_EQ(::symlink(store.c_str(), temp.File("c.png").c_str()), 0); };
    refusal = "a link";
    EXPECT_EQ(write("c.png").Error(), refusal);  // word for word
    refusal.clear();
    EXPECT_EQ(write("d/e.png").Error(),
              "cannot write " + snap + "/d/e.png: No such file or directory");
    EXPECT_EQ(TempFolder::Read(store), "store");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 4);
}

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

#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

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
    std::string error;
    ASSERT_TRUE(ReplaceFileAtomically(link, "new", error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempFolder::Read(file), "new");
    EXPECT_EQ(testing::ModeOf(file), 0640u);
    // Nothing but the file and the link is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 2);
    // A new file takes the mode asked for.
    ASSERT_TRUE(ReplaceFileAtomically(temp.File("secret.reg"), "x", error, 0600));
    EXPECT_EQ(testing::ModeOf(temp.File("secret.reg")), 0600u);

    EXPECT_FALSE(ReplaceFileAtomically(temp.File("missing/x"), "x", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReplaceFileAtomically(temp.path(), "x", error));  // a folder is not replaced
    EXPECT_FALSE(ReplaceFileAtomically(file + "/child", "x", error));
    EXPECT_EQ(TempFolder::Read(file), "new");
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
        return seen.size() == 2 ? refusal : std::string();
    };
    std::string error;
    bool refused = false;
    const auto write = [&](const std::string& name) {
        seen.clear();
        return WriteGuarded(snap + "/" + name, "png", check, error, refused);
    };

    meanwhile = [&] { ASSERT_EQ(::symlink(store.c_str(), (snap + "/a.png").c_str()), 0); };
    ASSERT_TRUE(write("a.png")) << error;
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
    ASSERT_TRUE(write("b.png")) << error;
    EXPECT_EQ(TempFolder::Read(moved + "/b.png"), "png");
    EXPECT_FALSE(std::filesystem::exists(temp.File("b.png")));

    // Refused at the last check: nothing written, nothing left behind.
    meanwhile = [&] { ASSERT_EQ(::symlink(store.c_str(), temp.File("c.png").c_str()), 0); };
    refusal = "a link";
    EXPECT_FALSE(write("c.png"));
    EXPECT_EQ(std::tuple(refused, error), std::tuple(true, refusal));
    EXPECT_EQ(TempFolder::Read(store), "store");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 4);
}

}  // namespace
}  // namespace pagelark

#include "capture/snapshots.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/process_memory.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

TEST(SnapshotTest, NumbersArePaddedToTheDigitsOfPageCountPlusOne) {
    const struct {
        std::int32_t pages, number;
        const char* name;
    } cases[] = {
        {8, 9, "Demo9.BMP"},      {9, 1, "Demo01.BMP"},    {99, 7, "Demo007.BMP"},
        {999, 5, "Demo0005.BMP"}, {9, 123, "Demo123.BMP"},  // a wider number is written in full
    };
    for (const auto& c : cases)
        EXPECT_EQ(SnapshotFileName("", "/shows/Demo.tso", c.number, c.pages), c.name) << c.pages;
    EXPECT_EQ(SnapshotFileName("/srv/snaps/", "/shows/a.b.tso", 3, 2), "/srv/snaps/a.b3.BMP");
}

struct FakeScreen final : ScreenCapture {
    std::vector<Capture> results;  // one per capture, then Saved
    std::vector<std::string> paths;
    Result<Capture> CaptureScreenTo(const std::string& path) override {
        paths.push_back(path);
        if (results.empty()) return Capture::Saved;
        const Capture result = results.front();
        results.erase(results.begin());
        return result;
    }
};

TEST(SnapshotTest, RunEndsAfterPageCountPlusOneOrAfterFailedGrabsAndSnapOffDoesNothing) {
    using enum Capture;
    using Paths = std::vector<std::string>;
    SnapshotOf show{true, "/snaps/", "/shows/Lobby.tso", 2};
    FakeScreen screen;
    // A failed grab is tried again under its number; a page that failed is passed over.
    screen.results = {CaptureFailed};
    SnapshotTaker taker(screen);
    std::string done;
    for (const bool passed : {false, false, true, false})
        done += taker.TakeSnapshot(passed, show) ? "1" : "0";
    EXPECT_EQ(done, "0001");
    EXPECT_EQ(screen.paths, (Paths{"/snaps/Lobby1.BMP", "/snaps/Lobby1.BMP", "/snaps/Lobby3.BMP"}));
    EXPECT_TRUE(taker.Run());
    show.snap = false;
    EXPECT_FALSE(taker.TakeSnapshot(false, show));
    EXPECT_EQ(screen.paths.size(), 3u);

    show.snap = true;
    screen.paths.clear();
    screen.results.assign(kMaxFailedCaptures, CaptureFailed);
    SnapshotTaker failing(screen);
    for (int i = 1; i < kMaxFailedCaptures; ++i)
        EXPECT_FALSE(failing.TakeSnapshot(false, show));
    EXPECT_TRUE(failing.TakeSnapshot(false, show));
    EXPECT_EQ(screen.paths, Paths(kMaxFailedCaptures, "/snaps/Lobby1.BMP"));
    EXPECT_EQ(failing.Run().Error(), "cannot capture the screen for '/snaps/Lobby1.BMP'");
}

TEST(SnapshotTest, ARemoteSnapshotMakesANewFileOrReplacesAFileThatIsNotTheKiosks) {
    const testing::TempFolder folder;
    const auto at = [&](std::string_view name) { return folder.File(name); };
    const std::string store = at("config"), show = folder.Write("show.tso", "[Page1]\n");
    const std::string machine = folder.Write("config/machine.reg", "REGEDIT4\n");
    const std::string cached = folder.Write("config/cache/a/show.tso", "");
    folder.Write("old.png", "");
    std::filesystem::create_hard_link(show, at("hard.tso"));
    std::filesystem::create_hard_link(machine, at("hard.png"));
    std::filesystem::create_hard_link(cached, at("cached.png"));
    const std::string own = "the kiosk's own folder " + store;
    std::vector<std::string> mine = {store, show};
    struct Case {
        std::string path;
        std::string refusal;  // how it ends; "" for none
    };
    std::vector<Case> cases = {
        {at("new.png"), ""},
        {at("old.png"), ""},
        {"shot.png", "the snapshot needs a full path"},
        {folder.path(), " is a folder"},
        {show, " is one of the kiosk's own files"},
        {at("hard.tso"), " is one of the kiosk's own files"},
        {at("hard.png"), " is one of the kiosk's own files"},
        {at("cached.png"), " is one of the kiosk's own files"},
        {machine, " is in " + own},
        {at("config/user.reg"), " is in " + own},
    };
#ifdef _WIN32
    // Without a length limit: the folders above are climbed to the drive's root, no further.
    const std::string unlimited = "\\\\?\\";
    cases.push_back({unlimited + at("long.png"), ""});
    cases.push_back({unlimited + at("config\\long.png"), " is in " + own});
    // A share: Wine reaches \\localhost\<share> in its prefix's dosdevices\unc\localhost; on
    // Windows itself making one takes an administrator.
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string share = "\\\\localhost\\pagelark-" + std::to_string(CurrentProcessId());
    const std::string shared =
        prefix ? "Z:" + std::string(prefix) + "\\dosdevices\\unc" + share.substr(1) : "";
    if (prefix && std::filesystem::create_directories(shared + "\\config")) {
        mine.push_back(share + "\\config");
        for (const std::string& there : {share, unlimited + "UNC" + share.substr(1)}) {
            cases.push_back({there + "\\new.png", ""});
            cases.push_back(
                {there + "\\config\\new.png", " is in the kiosk's own folder " + mine.back()});
        }
    }
    // Symbolic links need a privilege Wine does not grant; pipes and devices are no files in a
    // folder there.
#else
    ASSERT_EQ(::symlink(store.c_str(), at("linked").c_str()), 0);
    ASSERT_EQ(::symlink(show.c_str(), at("show-link.png").c_str()), 0);
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    cases.push_back({at("pipe"), " is not a regular file"});
    cases.push_back({"/dev/full", " is not a regular file"});
    cases.push_back({at("show-link.png"), " is a link"});
    cases.push_back({at("linked/machine.reg"), " is in " + own});
#endif
    const SnapshotGuard guard(mine);
    for (const auto& c : cases) {
        // Asked first, and again by the write itself: what a path stands for may change between.
        for (const std::string& refusal :
             {guard.Check(c.path).Error(), guard.Write(c.path, "png").Error()}) {
            EXPECT_TRUE(c.refusal.empty() ? refusal.empty() : refusal.ends_with(c.refusal))
                << c.path << ": " << refusal;
        }
    }
    EXPECT_EQ(testing::TempFolder::Read(at("old.png")), "png");
    EXPECT_EQ(testing::TempFolder::Read(machine), "REGEDIT4\n");
    EXPECT_EQ(testing::TempFolder::Read(show), "[Page1]\n");
    // A presentation yet to be saved is the kiosk's as much.
    EXPECT_FALSE(SnapshotGuard({at("next.tso")}).Check(at("next.tso")));
#ifdef _WIN32
    EXPECT_FALSE(SnapshotGuard({at("next.tso")}).Check(at("NEXT.Tso. ")));  // the same file there
    if (prefix) std::filesystem::remove_all(shared);
#endif
}

}  // namespace
}  // namespace pagelark

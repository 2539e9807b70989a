#include "capture/snapshots.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/presentation.h"
#include "settings/settings.h"

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
    std::vector<CaptureResult> results;  // one per capture, then Saved
    std::vector<std::string> paths;
    CaptureResult CaptureScreenTo(const std::string& path, std::string&) override {
        paths.push_back(path);
        if (results.empty()) return CaptureResult::Saved;
        const CaptureResult result = results.front();
        results.erase(results.begin());
        return result;
    }
};

TEST(SnapshotTest, RunEndsAfterPageCountPlusOneOrAfterFailedGrabsAndSnapOffDoesNothing) {
    using enum CaptureResult;
    using Paths = std::vector<std::string>;
    MachineSettings machine;
    machine.Snap = true;
    machine.SnapPath = "/snaps/";
    Presentation show;
    show.CurrentFile = "/shows/Lobby.tso";
    show.Pages.resize(2);
    FakeScreen screen;
    // A failed grab is tried again under its number; a page that failed is passed over.
    screen.results = {CaptureFailed};
    SnapshotTaker taker(machine, show, screen);
    std::string done;
    for (const bool passed : {false, false, true, false})
        done += taker.TakeSnapshot(passed) ? "1" : "0";
    EXPECT_EQ(done, "0001");
    EXPECT_EQ(screen.paths, (Paths{"/snaps/Lobby1.BMP", "/snaps/Lobby1.BMP", "/snaps/Lobby3.BMP"}));
    EXPECT_EQ(taker.Failure(), "");
    machine.Snap = false;
    EXPECT_FALSE(taker.TakeSnapshot(false));
    EXPECT_EQ(screen.paths.size(), 3u);

    machine.Snap = true;
    screen.paths.clear();
    screen.results.assign(kMaxFailedCaptures, CaptureFailed);
    SnapshotTaker failing(machine, show, screen);
    for (int i = 1; i < kMaxFailedCaptures; ++i)
        EXPECT_FALSE(failing.TakeSnapshot(false));
    EXPECT_TRUE(failing.TakeSnapshot(false));
    EXPECT_EQ(screen.paths, Paths(kMaxFailedCaptures, "/snaps/Lobby1.BMP"));
    EXPECT_EQ(failing.Failure(), "cannot capture the screen for '/snaps/Lobby1.BMP'");
}

}  // namespace
}  // namespace pagelark

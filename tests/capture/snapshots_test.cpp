// Snapshot names, counting and the end of a snapshot run.

#include "capture/snapshots.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/presentation.h"
#include "document/settings.h"

namespace pagelark {
namespace {

TEST(SnapshotTest, NumbersArePaddedToTheDigitsOfPageCountPlusOne) {
    const struct {
        std::int32_t pages, number;
        const char* name;
    } cases[] = {
        {0, 1, "Demo1.BMP"},      {8, 9, "Demo9.BMP"},     {9, 1, "Demo01.BMP"},
        {9, 10, "Demo10.BMP"},    {98, 7, "Demo07.BMP"},   {99, 7, "Demo007.BMP"},
        {999, 5, "Demo0005.BMP"}, {9, 123, "Demo123.BMP"},  // a wider number is written in full
    };
    for (const auto& c : cases)
        EXPECT_EQ(SnapshotFileName("", "/shows/Demo.tso", c.number, c.pages), c.name) << c.pages;
    EXPECT_EQ(SnapshotFileName("/srv/snaps/", "/shows/a.b.tso", 3, 2), "/srv/snaps/a.b3.BMP");
}

struct FakeScreen final : ScreenCapture {
    std::vector<CaptureResult> results;  // one per capture, then Saved
    std::vector<std::string> paths;
    CaptureResult CaptureScreenTo(const std::string& path) override {
        paths.push_back(path);
        if (results.empty()) return CaptureResult::Saved;
        const CaptureResult result = results.front();
        results.erase(results.begin());
        return result;
    }
};

TEST(SnapshotTest, RunEndsAfterPageCountPlusOneSavedOrUnsavableAndSnapOffDoesNothing) {
    MachineSettings machine;
    machine.Snap = true;
    machine.SnapPath = "/snaps/";
    Presentation show;
    show.CurrentFile = "/shows/Lobby.tso";
    show.Pages.resize(2);
    FakeScreen screen;
    // An unsavable picture counts; a failed copy does not and is tried again under its number.
    screen.results = {CaptureResult::SaveFailed, CaptureResult::CaptureFailed};
    SnapshotTaker taker(machine, show, screen);
    std::vector<bool> done;
    for (int i = 0; i < 4; ++i)
        done.push_back(taker.TakeSnapshot());
    EXPECT_EQ(done, (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(screen.paths, (std::vector<std::string>{"/snaps/Lobby1.BMP", "/snaps/Lobby2.BMP",
                                                      "/snaps/Lobby2.BMP", "/snaps/Lobby3.BMP"}));
    machine.Snap = false;
    EXPECT_FALSE(taker.TakeSnapshot());
    EXPECT_EQ(screen.paths.size(), 4u);
    EXPECT_EQ(taker.SnapshotCounter(), 3);
}

}  // namespace
}  // namespace pagelark

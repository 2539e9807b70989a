// Snapshot names, counting and the end of a snapshot run.

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
    CaptureResult CaptureScreenTo(const std::string& path, std::string& error) override {
        paths.push_back(path);
        if (results.empty()) return CaptureResult::Saved;
        const CaptureResult result = results.front();
        results.erase(results.begin());
        error = "Read-only file system";
        return result;
    }
};

TEST(SnapshotTest, RunEndsAfterPageCountPlusOneOrAtTheFirstFailureAndSnapOffDoesNothing) {
    using enum CaptureResult;
    const std::vector<CaptureResult> grabsFail(kMaxFailedCaptures, CaptureFailed);
    std::vector<bool> givesUp(kMaxFailedCaptures, false);
    givesUp.back() = true;
    const struct {
        std::vector<CaptureResult> results;
        std::vector<bool> passed;  // the page on show was taken already
        std::vector<bool> done;
        std::string numbers;  // of the pictures tried
        std::string failure;
    } cases[] = {
        // A failed grab is tried again under its number; a page that failed is passed over.
        {{CaptureFailed}, {false, false, true, false}, {false, false, false, true}, "113", ""},
        {{Saved, SaveFailed},
         {},
         {false, true},
         "12",
         "cannot save the snapshot '/snaps/Lobby2.BMP': Read-only file system"},
        {grabsFail,
         {},
         givesUp,
         std::string(kMaxFailedCaptures, '1'),
         "cannot capture the screen for '/snaps/Lobby1.BMP'"},
    };
    for (const auto& c : cases) {
        MachineSettings machine;
        machine.Snap = true;
        machine.SnapPath = "/snaps/";
        Presentation show;
        show.CurrentFile = "/shows/Lobby.tso";
        show.Pages.resize(2);
        FakeScreen screen;
        screen.results = c.results;
        SnapshotTaker taker(machine, show, screen);
        std::vector<bool> done;
        for (std::size_t i = 0; i < std::max(c.done.size(), c.passed.size()); ++i)
            done.push_back(taker.TakeSnapshot(i < c.passed.size() && c.passed[i]));
        std::string numbers;
        for (const std::string& path : screen.paths)
            numbers += path.substr(std::string("/snaps/Lobby").size(), 1);
        EXPECT_EQ(done, c.done) << c.numbers;
        EXPECT_EQ(numbers, c.numbers);
        EXPECT_EQ(taker.Failure(), c.failure);
        machine.Snap = false;
        EXPECT_FALSE(taker.TakeSnapshot(false));
        EXPECT_EQ(screen.paths.size(), c.numbers.size());
    }
}

}  // namespace
}  // namespace pagelark

// Kiosks on screens side by side with ClockAligned: each on an X server of its own, started
// seconds apart, they change pages together because the page on show follows the clock.

#include <cmath>
#include <iostream>
#include <thread>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

// A page change: when the screen first showed the page, and which page.
struct Change {
    TimePoint time;
    std::string page;
};

std::vector<Change> Changes(const std::vector<ColorSample>& samples) {
    std::vector<Change> changes;
    const std::vector<ColorRun> runs = Runs(samples);
    for (std::size_t k = 1; k < runs.size(); ++k)
        changes.push_back({runs[k].first, runs[k].name});
    return changes;
}

// Where the other screen came to the same page nearest in time; a second when it never did.
double Apart(const Change& change, const std::vector<Change>& other) {
    double apart = 1.0;
    for (const Change& seen : other)
        if (seen.page == change.page)
            apart = std::min(apart, std::abs(SecondsBetween(change.time, seen.time)));
    return apart;
}

TEST_F(KioskTest, ClockAlignedKiosksStartedApartChangePagesTogether) {
    const std::string show = WithServer(
        "[Tessaro]\nClockAligned=True\nDefaultTime=3\n"
        "OnMouseMove=0\n" +
        Pages({"/red", "/green", "/blue"}));
    const Desk right;
    KioskFolders rightFolders;
    Start(show);
    // Seven seconds are no whole number of cycles: started on their own, they would not agree.
    std::this_thread::sleep_for(7s);
    Kiosk second(right.xvfb_, rightFolders, {rightFolders.Write("show.tso", show)});
    const auto playing = [](const Desk& desk) {
        return desk.WaitForCentre(
            [](Rgb seen) {
                return Near(seen, kRed.rgb) || Near(seen, kGreen.rgb) || Near(seen, kBlue.rgb);
            },
            kStartUp);
    };
    ASSERT_TRUE(playing(*this)) << "the first kiosk plays no page";
    ASSERT_TRUE(playing(right)) << "the second kiosk plays no page:\n" << second.Output();

    // Three cycles: nine changes on each screen, sampled in turn.
    const auto samples = e2e::RecordColors({this, &right}, 27s);
    const TimePoint start = samples[0].front().time;
    const TimePoint end = samples[0].back().time;
    const std::vector<Change> left = Changes(samples[0]);
    const std::vector<Change> other = Changes(samples[1]);
    std::string seen = "changes, first screen then second:\n";
    for (const auto* changes : {&left, &other})
        for (const Change& change : *changes)
            seen += "  " + change.page + " at " +
                    std::to_string(SecondsBetween(start, change.time)) + "s\n";
    EXPECT_GE(left.size(), 8U) << seen;
    EXPECT_GE(other.size(), 8U) << seen;
    for (const auto& [changes, others] : {std::pair{&left, &other}, std::pair{&other, &left}})
        for (const Change& change : *changes) {
            // A change at the very edge of the recording may have its twin just outside it.
            if (SecondsBetween(start, change.time) < 0.2 || SecondsBetween(change.time, end) < 0.2)
                continue;
            EXPECT_LT(Apart(change, *others), 0.1)
                << change.page << " at " << SecondsBetween(start, change.time) << "s\n"
                << seen;
        }
    if (HasFailure())
        std::cout << "--- output of the second kiosk ---\n" << second.Output() << "\n";
}

}  // namespace
}  // namespace pagelark::e2e

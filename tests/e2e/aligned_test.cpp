// Kiosks on screens side by side with ClockAligned: each on an X server of its own, started
// seconds apart, they change pages together because the page on show follows the clock.

#include <array>
#include <cmath>
#include <thread>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

// How far apart the other screen came to the same page; a second when it never did near then.
double Apart(const ColorRun& change, const std::vector<ColorRun>& other) {
    double apart = 1.0;
    for (std::size_t k = 1; k < other.size(); ++k)
        if (other[k].name == change.name)
            apart = std::min(apart, std::abs(SecondsBetween(change.first, other[k].first)));
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
    for (const Desk* desk : {static_cast<const Desk*>(this), &right})
        ASSERT_TRUE(desk->WaitForCentre([](Rgb seen) { return Near(seen, kRed.rgb); }, kStartUp))
            << "a kiosk plays no page:\n"
            << second.Output();

    // Three cycles, both screens sampled in turn: nine changes on each.
    const auto samples = e2e::RecordColors({this, &right}, 27s);
    const TimePoint start = samples[0].front().time, end = samples[0].back().time;
    const std::array runs{Runs(samples[0]), Runs(samples[1])};
    std::string seen = "changes, first screen then second:\n";
    for (const auto& screen : runs)
        for (const ColorRun& run : screen)
            seen +=
                "  " + run.name + " at " + std::to_string(SecondsBetween(start, run.first)) + "\n";
    for (std::size_t s = 0; s < runs.size(); ++s) {
        EXPECT_GE(runs[s].size(), 8U) << seen;
        for (std::size_t k = 1; k < runs[s].size(); ++k) {
            // A change at the edge of the recording may have its twin just outside it.
            const ColorRun& change = runs[s][k];
            if (SecondsBetween(start, change.first) > 0.2 &&
                SecondsBetween(change.first, end) > 0.2) {
                EXPECT_LT(Apart(change, runs[1 - s]), 0.1) << change.name << "\n" << seen;
            }
        }
    }
}

}  // namespace
}  // namespace pagelark::e2e

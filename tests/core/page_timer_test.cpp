#include "core/page_timer.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/clock.h"

namespace pagelark {
namespace {

using Turn = PageTimer::Turn;

TEST(PageTimerTest, PageStaysItsTimeAndWaitsForItsPreloadUpToMaxTime) {
    const struct {
        int display;
        double onShow;  // seconds
        bool loaded, failed;
        Turn turn;
    } cases[] = {
        {0, 1e6, true, false, Turn::Stay},  // held until a command moves on
        {5, 4.9, true, false, Turn::Stay},    {5, 5.1, true, false, Turn::Advance},
        {5, 5.1, false, false, Turn::Stay},   {5, 300.1, false, false, Turn::Advance},
        {400, 399, false, false, Turn::Stay}, {400, 400.1, false, false, Turn::Advance},
        {5, 4.9, false, true, Turn::Stay},    {5, 5.1, true, true, Turn::PassOver},
    };
    for (const auto& c : cases) {
        PageTimer timer;
        const double shown = DateTimeValue(2026, 3, 1, 12, 0);
        timer.Start(shown);
        BrowserRotation::Record preload;
        preload.loaded = c.loaded;
        preload.failed = c.failed;
        EXPECT_EQ(timer.At(shown + c.onShow / kSecondsPerDay, std::chrono::seconds{c.display},
                           preload, std::chrono::seconds{300}),
                  c.turn)
            << c.display << " s after " << c.onShow << " s";
    }
}

TEST(PageTimerTest, PauseAndPreviousWhilePagesPlayNextOnlyDuringAPagesTime) {
    using enum PlayerState;
    std::string acts;  // per state Pause, Previous, Next, then the same in navigation mode
    for (PlayerState state : {Init, Navigate, WaitTime, WaitSaver, Config, WaitConfig, FinProg}) {
        for (bool navigationMode : {false, true})
            for (PlayCommand command :
                 {PlayCommand::Pause, PlayCommand::Previous, PlayCommand::Next})
                acts += PlayCommandActs(command, state, navigationMode) ? "1" : "0";
        acts += " ";
    }
    EXPECT_EQ(acts, "000000 110000 111000 000000 000000 000000 000000 ");
}

TEST(PageTimerTest, CounterLoopsOrEndsAndNeverGoesBelowTheStartPage) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        std::int32_t counter;
        int delta;
        bool autoLoop;
        std::int32_t after;
        bool ends;
    } cases[] = {
        {1, +1, false, 2, false},      {3, +1, false, 4, true},    {3, +1, true, 1, false},
        {1, -1, false, 0, false},      {0, -1, false, 0, false},   {1, -1, true, 3, false},
        {kMax, +1, false, kMax, true}, {kMin, -1, true, 3, false},
    };
    for (const auto& c : cases) {
        const CounterMove move = MoveCounter(c.counter, c.delta, 3, c.autoLoop);
        EXPECT_EQ(std::pair(move.counter, move.ends), std::pair(c.after, c.ends))
            << c.counter << (c.delta > 0 ? " +1" : " -1") << (c.autoLoop ? " looping" : "");
    }
}

}  // namespace
}  // namespace pagelark

// What moves the show on: a page's time, its preload, and the visitor's hand or its absence.

#include "core/page_timer.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/browser_rotation.h"
#include "core/idle_watch.h"
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

// A page is held while its browser shows where the program's load of it landed.
TEST(BrowserRotationTest, HeldPageShowsAgainUnlessItsLoadFailedOrItsBrowserLeftIt) {
    enum Event {
        Assign,
        Complete,
        Fail,
        Preload,
        PreloadUnwaited,
        Redirect,
        Anchor,
        Link,
        Lose,
        PageMove,
        Click
    };
    // Browser 1 preloads, 0 is on show; the record after each event, and whether Assign sends.
    const struct {
        Event event;
        int browser;
        const char* after;
    } steps[] = {
        {Assign, 1, "send"},        {Complete, 1, "loaded"},
        {Preload, 1, ""},           {PreloadUnwaited, 1, "loaded"},
        {Preload, 1, ""},           {Assign, 1, "loaded"},
        {Preload, 1, ""},           {Complete, 0, ""},  // not the preloading browser
        {Complete, 1, "loaded"},    {Fail, 1, "failed"},
        {Assign, 1, "send"},        {Fail, 1, "failed"},
        {Complete, 1, "loaded"},    {Assign, 1, "loaded"},
        {Lose, 1, "loaded left"},   {Preload, 1, " left"},
        {Assign, 1, "send"},        {Redirect, 1, ""},  // where the load lands
        {PageMove, 1, ""},          {Complete, 1, "loaded"},
        {Preload, 1, ""},           {Assign, 1, "loaded"},
        {Anchor, 1, "loaded left"}, {Preload, 1, " left"},
        {Assign, 1, "send"},        {Link, 1, ""},                 // still its own load
        {Click, 1, " left"},        {Complete, 1, "loaded left"},  // a visitor's, before it landed
        {Preload, 1, " left"},      {Assign, 1, "send"},
        {Complete, 1, "loaded"},    {PageMove, 1, "loaded left"},
    };
    BrowserRotation r;
    for (const auto& s : steps) {
        bool sent = false;
        if (s.event == Assign && (sent = r.Assign(s.browser, "http://a/", std::chrono::seconds{5})))
            r.Sent(s.browser, "http://a/");
        if (s.event == Complete) r.Completed(s.browser);
        if (s.event == Fail) r.Failed(s.browser);
        if (s.event == Preload || s.event == PreloadUnwaited) r.PreloadStarts(s.event == Preload);
        if (s.event == Redirect) r.Located(s.browser, "http://a/login");
        if (s.event == Anchor) r.Located(s.browser, "http://a/login#top");
        if (s.event == Link) r.Located(s.browser, "http://b/");
        if (s.event == Lose) r.Left(s.browser);
        if (s.event == PageMove || s.event == Click) r.Moved(s.browser, s.event == Click);
        const BrowserRotation::Record& b = r[s.browser];
        const std::string after = std::string(sent ? "send" : "") + (b.loaded ? "loaded" : "") +
                                  (b.failed ? "failed" : "") + (b.left ? " left" : "");
        EXPECT_EQ(after, s.after) << "step " << &s - steps;
    }
}

constexpr double kStart = 46082.5;  // a clock reading when screen saver mode began

// The pointer's moves are in PlayerTest.MousePolicyActsOnlyTwoSecondsAfterScreenSaverModeBegan.
TEST(IdleWatchTest, ATouchWhereThePointerRestsIsTheVisitorOnce) {
    using enum MouseMovePolicy;
    using Move = IdleWatch::Move;
    IdleWatch touched;
    touched.RestsAt({100, 100});
    touched.Touched();
    EXPECT_EQ(touched.PointerAt({100, 100}, kStart, EnterNavigation, false, false),
              Move::EnterNavigation);
    EXPECT_EQ(touched.PointerAt({100, 100}, kStart, EnterNavigation, false, false), Move::None);
}

TEST(IdleWatchTest, IdleOverAfterTheTimeOutOrAMinuteWithoutOne) {
    const struct {
        bool screenSaveActive;
        int timeOut;
        double idle;  // seconds
        bool over;
    } cases[] = {{false, 300, 1e6, false}, {true, 300, 299, false}, {true, 300, 301, true},
                 {true, 0, 59, false},     {true, 0, 61, true},     {true, -5, 61, true}};
    for (const auto& c : cases) {
        IdleWatch idle;
        idle.Seen(kStart);
        EXPECT_EQ(idle.IdleOver(kStart + c.idle / kSecondsPerDay, c.screenSaveActive,
                                std::chrono::seconds{c.timeOut}),
                  c.over)
            << c.timeOut << " s time-out, idle " << c.idle << " s";
    }
}

}  // namespace
}  // namespace pagelark

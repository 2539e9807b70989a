#include "core/idle_watch.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace pagelark {
namespace {

constexpr double kStart = 46082.5;  // a clock reading when screen saver mode began

TEST(IdleWatchTest, MoveIsActivityAndActsOnceTheHandLeftTheMouse) {
    using enum MouseMovePolicy;
    using Move = IdleWatch::Move;
    const struct {
        bool moved;
        double after;  // seconds since screen saver mode began
        MouseMovePolicy policy;
        bool navigationMode, locked;
        Move move;
    } cases[] = {
        {false, 10, EnterNavigation, false, false, Move::None},
        {true, 1.9, EnterNavigation, false, false, Move::None},
        {true, 2.1, EnterNavigation, false, false, Move::EnterNavigation},
        {true, 2.1, EnterNavigation, true, false, Move::None},
        {true, 100, ShowToolRun, false, false, Move::None},
    };
    for (const auto& c : cases) {
        IdleWatch idle;
        idle.RestsAt({100, 100});
        idle.SaverModeBegins(kStart);
        const double now = kStart + c.after / kSecondsPerDay;
        const ScreenPoint pointer{c.moved ? 101 : 100, 100};
        EXPECT_EQ(idle.PointerAt(pointer, now, c.policy, c.navigationMode, c.locked), c.move)
            << c.after << " s, policy " << static_cast<int>(c.policy);
        EXPECT_EQ(idle.LastActivity(), c.moved ? now : 0.0);
        EXPECT_EQ(idle.LastPointer(), pointer);
    }
    // A touch where the pointer rests is the visitor too, and only once.
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

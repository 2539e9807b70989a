#include "core/player.h"

#include "player_fixture.h"

namespace pagelark::testing {
namespace {

TEST_F(PlayerTest, ConfigWindowOpensOnTheNextStepAndReturnsToPlay) {
    w.toolRunCount = 1;
    machine.OnMouseMove =
        MouseMovePolicy::ShowToolRun;  // Tool Run shown: the cursor comes back with it
    Start();
    const double before = P().LastActivityTime();
    // The pointer is not watched while the window opens or is open; OK takes it where it is
    // as the new reference.
    EXPECT_EQ(Walk("config move 1 1 ok ?", {""}),
              "WAITCONFIG h/1 OpenConfig ToolbarsTopmost, WAITCONFIG h/1, NAVIGATE h/1 "
              "ForgetVisitor Navigate 2 http://site/1");
    EXPECT_EQ(P().LastActivityTime(), before);
    EXPECT_EQ(P().SaverModeStartTime(), w.now);
    EXPECT_GT(w.cursorCounter, 5);
}

TEST_F(PlayerTest, StepIsNotReenteredFromInsideAPortCall) {
    Start({10, 10}, 0);
    w.onNavigate = [this] { P().Tick(); };
    // NAVIGATE sends page 1; the nested tick must not run a step of its own, and the guard
    // is released after it.
    EXPECT_EQ(Walk("0 0 done 3 0"), "NAVIGATE h/h, WAITTIME h/1, NAVIGATE h/1, WAITTIME 1/2");
}

TEST_F(PlayerTest, KeysNeedTheirButtonAndExactModifiers) {
    using enum KeyCode;
    // Quit and Help (to navigation mode) need their button; every key is activity.
    const struct {
        KeyCode key;
        int shift;
        bool withButtons;
        S after;
    } cases[] = {
        {Escape, 0, true, S::FinProg}, {F4, kAltMask, true, S::FinProg},
        {F1, 0, true, S::WaitSaver},   {Escape, 0, false, S::WaitTime},
        {F1, 0, false, S::WaitTime},   {Escape, kShiftMask, true, S::WaitTime},
        {F4, 0, true, S::WaitTime},    {F1, kShiftMask, true, S::WaitTime},
    };
    for (const auto& c : cases) {
        buttons.ToolNavButtons[6].Visible = buttons.ToolRunButtons[7].Visible = c.withButtons;
        player.reset();
        Start();
        w.Advance(1);
        P().HandleKey(c.key, c.shift);
        EXPECT_EQ(P().State(), c.after) << static_cast<int>(c.key) << "/" << c.shift;
        EXPECT_EQ(P().LastActivityTime(), w.now);
    }

    // The diagnostic key needs Debug on as well as a program, whatever the modifiers.
    w.calls.clear();
    fake.Put(RegRoot::CurrentUser, kUserKey, "IEPath", "/usr/bin/xterm");
    P().HandleKey(F10, 0);
    fake.Put(RegRoot::CurrentUser, kUserKey, "Debug", "Yes");
    P().HandleKey(F10, kCtrlMask);
    EXPECT_EQ(w.calls, std::vector<std::string>{"Start /usr/bin/xterm"});
}

}  // namespace
}  // namespace pagelark::testing

// The player's part in the screen's hours: dark, the show stops and its browsers let their
// pages go; lit again, the show starts from its first due page, and a paused show pauses there.

#include <utility>

#include "core/own_pages.h"
#include "core/player.h"
#include "core/ports/display_power.h"
#include "model/presentation.h"
#include "platform/log.h"
#include "settings/settings.h"

namespace pagelark {

bool Player::FollowScreen() {
    screenFollowed_ = true;
    // The operator's window stays usable, also when it is all the run is for, and an ending
    // kiosk leaves the display on.
    if (state_ == PlayerState::Config || state_ == PlayerState::WaitConfig ||
        state_ == PlayerState::FinProg || context_.configCommandLine) {
        if (dark_) {
            LightScreen();
            if (context_.displayPower != nullptr)
                context_.displayPower->SetPower(true, show_.machine.ScreenCec);
        }
        return true;
    }
    const MachineSettings& m = show_.machine;
    const ScreenSchedule::Step step = screen_.At(Now(), m.ScreenSaveTimeOut);
    const bool changed = step.on == dark_;
    if (changed && step.on) LightScreen();
    if (changed && !step.on) DarkenScreen();
    if ((changed || step.apply) && context_.displayPower != nullptr)
        context_.displayPower->SetPower(step.on, m.ScreenCec);
    return !dark_;
}

void Player::DarkenScreen() {
    Log(LogArea::Player, "the screen goes dark");
    dark_ = true;
    // Dark again before the first page came back, the pause still waits.
    if (state_ == PlayerState::WaitSaver && !navigationMode_) pausedInDark_ = true;
    PlayEnds();
    if (addressToShow_) {
        CommandAnswer answer = std::move(addressToShow_->answer);
        addressToShow_.reset();
        if (answer) answer(Fail("the screen went dark"));
    }
    if (navigationMode_) {
        LeaveNavigationMode();
        ForgetVisitor();
    }
    // Nothing of the program's but black: a screen that cannot sleep shows no tool bar either.
    context_.toolbars.ShowToolRun(false);
    HideCursor();
    // Black on show, also where the display cannot sleep; the others let their renderers go.
    const int shown = browsers_.Current();
    for (int b = 0; b < kBrowserCount; ++b)
        context_.stage.Stop(b);
    SendAddress(shown, std::string(kBlackPage));
    // Dark from the start, no browser has come on show yet.
    if (!browsersReady_) context_.stage.BringToFront(shown);
    for (int b = 0; b < kBrowserCount; ++b) {
        if (b == shown) continue;
        context_.stage.Renew(b);
        browsers_.Forget(b);
    }
    freshPreloadSince_.reset();
    preloadAwaitedSince_.reset();
}

void Player::LightScreen() {
    Log(LogArea::Player, "the screen comes on");
    dark_ = false;
    // What the pointer did in the dark is no visitor's move, and the mouse policy's grace
    // counts from now.
    RecordMouse();
    idle_.SaverModeBegins(Now());
    // The tool bar and the cursor as the show has them.
    ToolbarsLaidOut();
    if (state_ == PlayerState::FinProg || state_ == PlayerState::Config ||
        state_ == PlayerState::WaitConfig)
        return;
    const Presentation& p = show_.presentation;
    page_ = p.FirstPage < 0 ? 0 : p.FirstPage;
    failing_.clear();
    skippedInRow_ = 0;
    // The black page stays on show until the first due page has loaded behind it, also where
    // the screen was dark from the start: the start page does not come on show then.
    if (!browsersReady_) {
        context_.stage.SetWindowFrame(false);
        ReadyBrowsers();
    }
    PreloadCurrentPage();
    freshPreloadSince_ = Now();
    page_ = MoveCounter(page_, +1, PageCount(p), p.AutoLoop).counter;
    SetState(PlayerState::Navigate);
}

bool Player::TakeWakingInput() {
    screen_.Input(Now());
    if (!dark_) return false;
    Log(LogArea::Player, "a visitor woke the screen");
    FollowScreen();
    return true;
}

}  // namespace pagelark

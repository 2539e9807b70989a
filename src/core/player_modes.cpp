#include "core/player.h"

#include "core/locked.h"
#include "model/presentation.h"
#include "settings/settings.h"

namespace pagelark {

namespace {

// The cursor counter is driven to a fixed depth; a desktop whose counter never gets there
// must not hang the timer.
constexpr int kCursorRequestLimit = 64;
constexpr int kCursorHiddenBelow = -5;
constexpr int kCursorShownAbove = 5;

}  // namespace

// ---- modes and cursor ----

void Player::EnterNavigationMode() {
    idle_.Seen(Now());
    navigationMode_ = true;
    context_.stage.SetNavigationMode(true);
    SetState(PlayerState::WaitSaver);
    context_.toolbars.ShowToolRun(false);
    if (ToolNavShown()) {
        context_.toolbars.ShowToolNav(true);
        context_.toolbars.MakeToolNavTopmost();
    }
    ShowCursor();
}

void Player::LeaveNavigationMode() {
    idle_.SaverModeBegins(Now());
    navigationMode_ = false;
    context_.stage.SetNavigationMode(false);
    context_.toolbars.ShowToolNav(false);
    if (ToolRunShown()) {
        context_.toolbars.ShowToolRun(true);
        context_.toolbars.MakeToolRunTopmost();
    }
}

void Player::ForgetVisitor() {
    idle_.VisitEnds();
    if (!show_.machine.ClearVisitorData || !browsersReady_) return;
    context_.stage.ForgetVisitor();
    // The page on show stays in the old profile and the spare is blank: neither holds its page.
    browsers_.Left(browsers_.Current());
    browsers_.Left(browsers_.Spare());
    if (addressToShow_) SendAddress(addressToShow_->browser, addressToShow_->address);
    // The preload came from the old profile: loaded again in the fresh one before it shows.
    const int next = browsers_.Next();
    if (browsers_[next].address.empty()) return;
    browsers_.PreloadStarts(true);
    SendAgain(next);
    freshPreloadSince_ = Now();
}

void Player::SwitchToNavigation() {
    if (show_.presentation.AutoHome) GoHome();
    idle_.Seen(Now());
    EnterNavigationMode();
    PrepareBrowsersForUser();
    if (context_.toolbars.ToolNavVisibleCount() > 0) ShowCursor();
}

void Player::PrepareBrowsersForUser() {
    const bool offline = !context_.connectivity.IsConnected();
    for (int b = 0; b < kBrowserCount; ++b) {
        if (context_.stage.Offline(b) != offline) context_.stage.SetOffline(b, offline);
        if (context_.stage.Silent(b)) context_.stage.SetSilent(b, false);
    }
}

void Player::NoteActivity() {
    idle_.Input(Now());
    FollowScroll();
}

void Player::NoteTouch() {
    idle_.Touched();
    MousePart();
    FollowScroll();
}

void Player::RecordMouse() {
    idle_.RestsAt(context_.desktop.CursorPosition());
}

void Player::HideCursor() {
    for (int i = 0; i < kCursorRequestLimit; ++i) {
        if (context_.desktop.ShowCursor(false) < kCursorHiddenBelow) break;
    }
    context_.toolbars.HideHelpTip();
}

void Player::ShowCursor() {
    for (int i = 0; i < kCursorRequestLimit; ++i) {
        if (context_.desktop.ShowCursor(true) > kCursorShownAbove) break;
    }
}

void Player::ToolbarsLaidOut() {
    if (ToolRunShown()) {
        LeaveNavigationMode();
        ShowCursor();
    } else {
        HideCursor();
    }
}

bool Player::ToolRunShown() const {
    return !show_.machine.Locked && context_.toolbars.ToolRunVisibleCount() >= 1 &&
           show_.machine.OnMouseMove == MouseMovePolicy::ShowToolRun;
}

ReachFacts Player::Reach() const {
    const bool runShown = ToolRunShown(), navShown = ToolNavShown();
    const MachineSettings& m = show_.machine;
    return {.policy = m.OnMouseMove,
            .toolRunShown = runShown,
            .toolNavShown = navShown,
            .help = HelpAllowed(),
            .configButton =
                !m.Locked && ((runShown && show_.buttons.Run(ToolRunSlot::Config).Visible) ||
                              (navShown && show_.buttons.Nav(ToolNavSlot::Config).Visible)),
            .locked = m.Locked};
}

bool Player::ToolNavShown() const {
    return NavigationOffered(show_.machine.Locked, show_.presentation) &&
           context_.toolbars.ToolNavVisibleCount() > 0 &&
           show_.machine.OnMouseMove != MouseMovePolicy::EndShow;
}

}  // namespace pagelark

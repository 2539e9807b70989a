#include "core/player.h"

#include <algorithm>
#include <limits>

#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "settings/settings.h"

namespace pagelark {

namespace {

// The help page the Help command opens.
constexpr std::size_t kDocumentationPage = 3;
// Display time given to the page Home brings.
constexpr std::int32_t kHomeSeconds = 10;
// Display time given to an address the visitor typed, as for the home page.
constexpr std::int32_t kTypedAddressSeconds = 10;

}  // namespace

// ---- page sequencing ----

void Player::AdvancePage(int delta) {
    Presentation& p = c_.presentation;
    const std::int32_t count = PageCount(p);
    const std::int64_t moved = std::clamp<std::int64_t>(std::int64_t{p.CurrentPage} + delta,
                                                        std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max());
    // There is no page below the start page; without AutoLoop the counter stops there.
    if (!(moved < 0 && delta != 1 && !p.AutoLoop)) p.CurrentPage = static_cast<std::int32_t>(moved);
    SetState(PlayerState::Navigate);
    if (delta == 1 && p.CurrentPage > count) {
        if (p.AutoLoop)
            p.CurrentPage = 1;
        else
            SetState(PlayerState::FinProg);
    }
    if (delta != 1 && p.CurrentPage < 1 && p.AutoLoop) p.CurrentPage = count;
}

void Player::CmdPlay() {
    if (navigationMode_) {
        if (state_ == PlayerState::WaitSaver) SetState(PlayerState::Init);
        RecordMouse();
        LeaveNavigationMode();
        if (ToolRunShown())
            ShowCursor();
        else
            HideCursor();
    } else if (state_ == PlayerState::WaitSaver) {
        SetState(PlayerState::Navigate);
    }
}

void Player::CmdPause() {
    if (navigationMode_) return;
    if (state_ != PlayerState::Navigate && state_ != PlayerState::WaitTime) return;
    lastActivityTime_ = Now();
    SetState(PlayerState::WaitSaver);
}

void Player::CmdPrevious() {
    if (navigationMode_) return;
    if (state_ != PlayerState::Navigate && state_ != PlayerState::WaitTime) return;
    AdvancePage(-1);
    SetState(PlayerState::Navigate);
}

void Player::CmdNext() {
    if (navigationMode_ || state_ != PlayerState::WaitTime) return;
    AdvancePage(+1);
    SetState(PlayerState::Navigate);
}

void Player::GoHome() {
    BrowserRecord& shown = browsers_[currentBrowser_];
    shown.time = kHomeSeconds;
    if (!HoldsAddress(currentBrowser_, c_.presentation.HomeURL))
        SendAddress(currentBrowser_, c_.presentation.HomeURL);
}

// ---- other commands and keys ----

void Player::CmdQuit() {
    if (!c_.machine.Locked) Terminate();
}

void Player::Terminate() {
    SetState(PlayerState::FinProg);
}

void Player::CmdConfig() {
    if (!c_.machine.Locked) OpenConfig();
}

bool Player::OpenConfig() {
    if (state_ == PlayerState::Init || state_ == PlayerState::FinProg) return false;
    SetState(PlayerState::Config);
    return true;
}

void Player::CmdHelp() {
    // Help is navigation mode, over pages the include list need not name.
    if (c_.machine.Locked) return;
    lastActivityTime_ = Now();
    EnterNavigationMode();
    PrepareBrowsersForUser();
    if (c_.toolbars.ToolNavVisibleCount() > 0) ShowCursor();
    c_.toolbars.CheckHelpTip(lastMousePosition_, navigationMode_);
    BrowseTo(currentBrowser_, c_.helpDocuments[kDocumentationPage], 0);
}

void Player::CmdBack() {
    if (navigationMode_) c_.stage.GoBack(currentBrowser_);
}

void Player::CmdForward() {
    if (navigationMode_) c_.stage.GoForward(currentBrowser_);
}

void Player::CmdStop() {
    if (navigationMode_) c_.stage.Stop(currentBrowser_);
}

void Player::CmdReload() {
    if (navigationMode_) c_.stage.Reload(currentBrowser_);
}

void Player::HandleKey(KeyCode key, int shift) {
    if ((key == KeyCode::Escape && shift == 0) || (key == KeyCode::F4 && shift == kAltMask)) {
        if (QuitAllowed()) SetState(PlayerState::FinProg);
    } else if (key == KeyCode::F1 && shift == 0) {
        if (HelpAllowed()) CmdHelp();
    } else if (key == KeyCode::F10) {
        if (!c_.machine.Locked && c_.settings.DebugEnabled(c_.presentation.CurrentFile)) {
            const std::string program =
                c_.settings.ReadSetting(c_.presentation.CurrentFile, "IEPath");
            if (!program.empty()) c_.launcher.StartMinimized(program);
        }
    }
    lastActivityTime_ = Now();
}

bool Player::QuitAllowed() const {
    if (c_.machine.Locked) return false;
    return c_.buttons.Run(ToolRunSlot::Quit).Visible || c_.buttons.Nav(ToolNavSlot::Quit).Visible;
}

bool Player::HelpAllowed() const {
    return c_.buttons.Run(ToolRunSlot::Help).Visible || c_.buttons.Nav(ToolNavSlot::Help).Visible;
}

void Player::ConfigShown() {
    ShowCursor();
}

std::string Player::CurrentLocation() const {
    return c_.stage.LocationURL(currentBrowser_);
}

void Player::ShowInStage(const std::string& address) {
    BrowseTo(currentBrowser_, address, 0);
}

void Player::ConfigClosed(bool ok) {
    saverModeStartTime_ = Now();
    if (ok) {
        SetState(PlayerState::Init);
        RecordMouse();
    }
    if (c_.configCommandLine) {
        SetState(PlayerState::FinProg);
        return;
    }
    SetState(PlayerState::Navigate);
    if (navigationMode_ ? ToolNavShown() : ToolRunShown())
        ShowCursor();
    else
        HideCursor();
}

void Player::BrowseAddress(const std::string& address) {
    BrowseTo(currentBrowser_, address, kTypedAddressSeconds);
}

}  // namespace pagelark

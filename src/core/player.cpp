#include "core/player.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/address_check.h"
#include "document/presentation.h"
#include "document/settings.h"
#include "document/toolbar_buttons.h"
#include "platform/clock.h"

namespace pagelark {

namespace {

// s seconds as days, the unit of every time the player compares.
double Seconds(std::int32_t s) {
    return 1.0 / 24 / 60 / 60 * s;
}

// A mouse move right after screen saver mode began (or the configuration window closed) is
// the hand leaving the mouse, not a visitor. Held in single precision on purpose.
const float kMouseGrace = static_cast<float>(1.0 / 24 / 60 / 60 * 2);

// The cursor counter is driven to a fixed depth; a desktop whose counter never gets there
// must not hang the timer.
constexpr int kCursorRequestLimit = 64;
constexpr int kCursorHiddenBelow = -5;
constexpr int kCursorShownAbove = 5;

// The help page the Help command opens.
constexpr std::size_t kDocumentationPage = 3;
// Display time given to the page Home brings.
constexpr std::int32_t kHomeSeconds = 10;
// Display time given to an address the visitor typed, as for the home page.
constexpr std::int32_t kTypedAddressSeconds = 10;

bool ValidBrowser(int browser) {
    return browser >= 0 && browser < kBrowserCount;
}

}  // namespace

const char* StateWord(PlayerState state) {
    switch (state) {
        case PlayerState::Init:
            return "INIT";
        case PlayerState::Navigate:
            return "NAVIGATE";
        case PlayerState::WaitTime:
            return "WAITTIME";
        case PlayerState::WaitSaver:
            return "WAITSAVER";
        case PlayerState::Config:
            return "CONFIG";
        case PlayerState::WaitConfig:
            return "WAITCONFIG";
        case PlayerState::FinProg:
            return "FINPROG";
    }
    return "INIT";
}

Player::Player(PlayerContext context) : c_(std::move(context)) {}

double Player::Now() const {
    return c_.clock.Now();
}

// ---- start-up and the timer ----

void Player::InitBrowsers() {
    const bool connected = c_.connectivity.IsConnected();
    std::string start;
    std::int32_t seconds = 0;
    PageAt(c_.presentation, c_.helpDocuments, 0, start, seconds);
    for (int b = 0; b < kBrowserCount; ++b) {
        c_.stage.SetOffline(b, !connected);
        c_.stage.SetSilent(b, true);
        c_.stage.Navigate(b, start);
        // Recorded like any page sent: a browser that comes on show before it was sent a
        // page (a FirstPage past the end) then holds the start page for its time instead of
        // for ever, and the first INIT step need not load the start page a second time.
        browsers_[b].address = start;
        browsers_[b].time = seconds;
    }
    c_.stage.BringToFront(1);
}

void Player::Tick() {
    MousePart();
    if (stepBusy_) return;  // a port call inside the running step dispatched this tick
    struct BusyGuard {
        bool& busy;
        ~BusyGuard() { busy = false; }
    } guard{stepBusy_};
    stepBusy_ = true;
    StateStep();
}

void Player::SetState(PlayerState state) {
    // In navigation mode the player never changes page by itself.
    if (state == PlayerState::Navigate && navigationMode_) state = PlayerState::WaitSaver;
    if (state_ == PlayerState::FinProg) return;
    state_ = state;
}

void Player::StateStep() {
    switch (state_) {
        case PlayerState::Init:
            StepInit();
            break;
        case PlayerState::Navigate:
            StepNavigate();
            break;
        case PlayerState::WaitTime:
            StepWaitTime();
            break;
        case PlayerState::WaitSaver:
            StepWaitSaver();
            break;
        case PlayerState::Config:
            StepConfig();
            break;
        case PlayerState::WaitConfig:
            break;  // left when the configuration window reports its closing
        case PlayerState::FinProg:
            c_.stage.UnloadAll();
            break;
    }
}

void Player::StepInit() {
    c_.stage.SetWindowFrame(false);
    SetState(PlayerState::Navigate);
    if (browsersReady_) return;
    c_.stage.SetWindowState(c_.machine.WindowState);
    c_.stage.LayoutBrowsers();
    std::string start;
    std::int32_t seconds = 0;
    PageAt(c_.presentation, c_.helpDocuments, 0, start, seconds);
    BrowseTo(nextBrowser_, start, seconds);
    browsersReady_ = true;
    RecordMouse();
    // Play starts in screen saver mode: the mouse policy's grace counts from here, also when
    // no tool bar was shown to mark the mode's start.
    saverModeStartTime_ = c_.clock.Now();
}

void Player::StepNavigate() {
    Presentation& p = c_.presentation;
    // A presentation file may carry a negative FirstPage, and the counter is set again by
    // every load; no page lies below the start page, so such a counter starts there.
    if (p.CurrentPage < 0) p.CurrentPage = 0;
    const bool inRange = p.CurrentPage <= PageCount(p);
    std::string address;
    std::int32_t seconds = 0;
    PageAt(p, c_.helpDocuments, inRange ? p.CurrentPage : 0, address, seconds);

    const int oldCurrent = currentBrowser_;
    currentBrowser_ = nextBrowser_;
    nextBrowser_ = spareBrowser_;
    spareBrowser_ = oldCurrent;

    browsers_[nextBrowser_].loaded = !p.WaitComplete;
    ShowBrowser(currentBrowser_);
    if (inRange) BrowseTo(nextBrowser_, address, seconds);
    SetState(c_.configCommandLine ? PlayerState::Config : PlayerState::WaitTime);
    lastActivityTime_ = Now();
}

void Player::StepWaitTime() {
    const double now = Now();
    const MachineSettings& m = c_.machine;
    if (m.AutoReboot && now > m.RebootMoment) {
        for (int b = 0; b < kBrowserCount; ++b)
            c_.stage.Stop(b);
        SetState(PlayerState::FinProg);
        c_.maintenance.RebootSequence(m.AutoLogin, m.ForceReboot);
        return;
    }

    const BrowserRecord& shown = browsers_[currentBrowser_];
    if (shown.time == 0) return;  // held until a command moves on
    const double onShow = now - shown.startTime;
    if (!(onShow > Seconds(shown.time))) return;
    // MaxTime counts from the moment the page came on show, not from the end of its time.
    if (!browsers_[nextBrowser_].loaded && !(onShow > Seconds(c_.presentation.MaxTime))) return;
    AdvancePage(+1);
    if (c_.snapshots.TakeSnapshot()) SetState(PlayerState::FinProg);
}

void Player::StepWaitSaver() {
    if (!c_.machine.ScreenSaveActive) return;
    if (Now() - lastActivityTime_ > Seconds(c_.machine.ScreenSaveTimeOut)) {
        SetState(PlayerState::Init);
        RecordMouse();
        LeaveNavigationMode();
    }
}

void Player::StepConfig() {
    c_.configWindow.Open();
    c_.toolbars.MakeToolbarsTopmost();
    SetState(PlayerState::WaitConfig);
}

void Player::MousePart() {
    if (!mouseReferenceSet_) {
        RecordMouse();
        return;
    }
    const bool configOpen =
        state_ == PlayerState::Config || state_ == PlayerState::WaitConfig || c_.configCommandLine;
    if (!configOpen) {
        lastMousePosition_ = c_.desktop.CursorPosition();
        if (lastMousePosition_ != mouseReference_) {
            const double now = Now();
            lastActivityTime_ = now;
            const bool graceOver = now - saverModeStartTime_ > kMouseGrace;
            const MouseMovePolicy policy = c_.machine.OnMouseMove;
            if (policy == MouseMovePolicy::EnterNavigation && !navigationMode_ && graceOver) {
                SwitchToNavigation();
            } else if (policy == MouseMovePolicy::EndShow && graceOver) {
                SetState(PlayerState::FinProg);
            }
        }
    }
    c_.toolbars.CheckHelpTip(lastMousePosition_, navigationMode_);
}

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
    SetState(PlayerState::FinProg);
}

void Player::CmdConfig() {
    if (state_ == PlayerState::Init || state_ == PlayerState::FinProg) return;
    SetState(PlayerState::Config);
}

void Player::CmdHelp() {
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
        if (c_.settings.DebugEnabled()) {
            const std::string program = c_.settings.ReadSetting("IEPath");
            if (!program.empty()) c_.launcher.StartMinimized(program);
        }
    }
    lastActivityTime_ = Now();
}

bool Player::QuitAllowed() const {
    return c_.buttons.Run(ToolRunSlot::Quit).Visible || c_.buttons.Nav(ToolNavSlot::Quit).Visible;
}

bool Player::HelpAllowed() const {
    return c_.buttons.Run(ToolRunSlot::Help).Visible || c_.buttons.Nav(ToolNavSlot::Help).Visible;
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

// ---- browser events ----

bool Player::CheckNavigation(int browser, const std::string& address, bool topLevel) {
    const bool cancel = NavigationBlocked(c_.presentation, address, c_.helpFolder);
    if (!ValidBrowser(browser)) return cancel;
    if (!cancel && topLevel && c_.stage.BrowserVisible(browser)) c_.toolbars.SetAddress(address);
    if (CountsAsActivity(navigationMode_, address, browsers_[browser].address,
                         c_.machine.SpecialURL))
        lastActivityTime_ = Now();
    return cancel;
}

void Player::DocumentComplete(int browser) {
    if (!ValidBrowser(browser)) return;
    loadFailed_[browser] = false;
    if (browser == nextBrowser_) browsers_[browser].loaded = true;
}

void Player::LoadFailed(int browser) {
    if (ValidBrowser(browser)) loadFailed_[browser] = true;
}

void Player::WindowResized() {
    if (browsersReady_) c_.stage.LayoutBrowsers();
}

// ---- modes and cursor ----

void Player::EnterNavigationMode() {
    lastActivityTime_ = Now();
    navigationMode_ = true;
    SetState(PlayerState::WaitSaver);
    c_.toolbars.ShowToolRun(false);
    if (ToolNavShown()) {
        c_.toolbars.ShowToolNav(true);
        c_.toolbars.MakeToolNavTopmost();
    }
    ShowCursor();
}

void Player::LeaveNavigationMode() {
    saverModeStartTime_ = Now();
    navigationMode_ = false;
    c_.toolbars.ShowToolNav(false);
    if (ToolRunShown()) {
        c_.toolbars.ShowToolRun(true);
        c_.toolbars.MakeToolRunTopmost();
    }
}

void Player::SwitchToNavigation() {
    if (c_.presentation.AutoHome) GoHome();
    lastActivityTime_ = Now();
    EnterNavigationMode();
    PrepareBrowsersForUser();
    if (c_.toolbars.ToolNavVisibleCount() > 0) ShowCursor();
}

void Player::PrepareBrowsersForUser() {
    const bool offline = !c_.connectivity.IsConnected();
    for (int b = 0; b < kBrowserCount; ++b) {
        if (c_.stage.Offline(b) != offline) c_.stage.SetOffline(b, offline);
        if (c_.stage.Silent(b)) c_.stage.SetSilent(b, false);
    }
}

void Player::BrowseAddress(const std::string& address) {
    BrowseTo(currentBrowser_, address, kTypedAddressSeconds);
}

void Player::NoteActivity() {
    lastActivityTime_ = Now();
}

void Player::RecordMouse() {
    mouseReference_ = c_.desktop.CursorPosition();
    mouseReferenceSet_ = true;
}

void Player::HideCursor() {
    for (int i = 0; i < kCursorRequestLimit; ++i) {
        if (c_.desktop.ShowCursor(false) < kCursorHiddenBelow) break;
    }
    c_.toolbars.HideHelpTip();
}

void Player::ShowCursor() {
    for (int i = 0; i < kCursorRequestLimit; ++i) {
        if (c_.desktop.ShowCursor(true) > kCursorShownAbove) break;
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
    return c_.toolbars.ToolRunVisibleCount() >= 1 &&
           c_.machine.OnMouseMove == MouseMovePolicy::ShowToolRun;
}

bool Player::ToolNavShown() const {
    return c_.toolbars.ToolNavVisibleCount() > 0 &&
           c_.machine.OnMouseMove != MouseMovePolicy::EndShow;
}

// ---- the three browsers ----

bool Player::HoldsAddress(int browser, const std::string& address) const {
    return address == browsers_[browser].address && !loadFailed_[browser];
}

void Player::SendAddress(int browser, const std::string& address) {
    browsers_[browser].address = address;
    loadFailed_[browser] = false;  // a new load; it reports its own failure
    const bool offline = !c_.connectivity.IsConnected();
    if (c_.stage.Offline(browser) != offline) c_.stage.SetOffline(browser, offline);
    if (!c_.stage.Silent(browser)) c_.stage.SetSilent(browser, true);
    c_.stage.Navigate(browser, address);
}

void Player::BrowseTo(int browser, const std::string& address, std::int32_t seconds) {
    if (!ValidBrowser(browser)) return;
    browsers_[browser].time = seconds;
    if (HoldsAddress(browser, address))
        browsers_[browser].loaded = true;
    else
        SendAddress(browser, address);
}

void Player::ShowBrowser(int browser) {
    if (!ValidBrowser(browser)) return;
    c_.stage.BringToFront(browser);
    if (c_.stage.OwnWindowActive()) c_.stage.Focus(browser);
    browsers_[browser].startTime = Now();
}

}  // namespace pagelark

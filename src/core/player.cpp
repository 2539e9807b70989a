#include "core/player.h"

#include <algorithm>
#include <utility>

#include "document/presentation.h"
#include "document/settings.h"
#include "platform/clock.h"
#include "platform/log.h"

namespace pagelark {

namespace {

// s seconds as days, the unit of every time the player compares.
double Seconds(std::int32_t s) {
    return 1.0 / 24 / 60 / 60 * s;
}

// A mouse move right after screen saver mode began (or the configuration window closed) is
// the hand leaving the mouse, not a visitor. Held in single precision on purpose.
const float kMouseGrace = static_cast<float>(1.0 / 24 / 60 / 60 * 2);

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

PageEntry Player::StartPage() const {
    return *PageAt(c_.presentation, c_.helpDocuments, 0);
}

// ---- start-up and the timer ----

void Player::InitBrowsers() {
    const bool connected = c_.connectivity.IsConnected();
    const PageEntry start = StartPage();
    for (int b = 0; b < kBrowserCount; ++b) {
        c_.stage.SetOffline(b, !connected);
        c_.stage.SetSilent(b, true);
        c_.stage.Navigate(b, start.address);
        // Recorded like any page sent: a browser that comes on show before it was sent a
        // page (a FirstPage past the end) then holds the start page for its time instead of
        // for ever, and the first INIT step need not load the start page a second time.
        browsers_[b].address = start.address;
        browsers_[b].time = start.seconds;
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
    if (state != state_)
        Log(LogArea::Player, "state ", StateWord(state_), " -> ", StateWord(state));
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
    const PageEntry start = StartPage();
    BrowseTo(nextBrowser_, start.address, start.seconds);
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
    const int oldCurrent = currentBrowser_;
    currentBrowser_ = nextBrowser_;
    nextBrowser_ = spareBrowser_;
    spareBrowser_ = oldCurrent;

    ShowBrowser(currentBrowser_);
    pageOnShowTaken_ = false;
    PreloadCurrentPage();
    SetState(c_.configCommandLine ? PlayerState::Config : PlayerState::WaitTime);
    lastActivityTime_ = Now();
}

void Player::StepWaitTime() {
    const double now = Now();
    MachineSettings& m = c_.machine;
    if (m.AutoReboot && now > m.RebootMoment) {
        Log(LogArea::Maintenance, "reboot requested", m.ForceReboot ? " (forced)" : "");
        if (c_.maintenance.RebootSequence(m.AutoLogin, m.ForceReboot)) {
            for (int b = 0; b < kBrowserCount; ++b)
                c_.stage.Stop(b);
            SetState(PlayerState::FinProg);
            return;
        }
        // Refused: the show goes on, and the reboot is due again at the same time tomorrow.
        while (m.RebootMoment < now)
            m.RebootMoment += 1.0;
    }

    BrowserRecord& shown = browsers_[currentBrowser_];
    if (shown.time == 0) return;  // held until a command moves on
    const double onShow = now - shown.startTime;
    if (!(onShow > Seconds(shown.time))) return;
    if (loadFailed_[nextBrowser_]) {
        // An error page never comes on show: the page on show stays for another turn while
        // the page after the failed one preloads; the failed one is tried again at its next
        // turn, so it comes back by itself once it loads.
        NoteSkipped(browsers_[nextBrowser_].address);
        AdvancePage(+1);
        if (c_.snapshots.TakeSnapshot(pageOnShowTaken_)) SetState(PlayerState::FinProg);
        pageOnShowTaken_ = true;
        if (state_ == PlayerState::FinProg) return;
        PreloadCurrentPage();
        shown.startTime = now;
        SetState(PlayerState::WaitTime);
        return;
    }
    // MaxTime counts from the moment the page came on show, not from the end of its time.
    if (!browsers_[nextBrowser_].loaded && !(onShow > Seconds(c_.presentation.MaxTime))) return;
    skippedInRow_ = 0;
    AdvancePage(+1);
    if (c_.snapshots.TakeSnapshot(pageOnShowTaken_)) SetState(PlayerState::FinProg);
}

void Player::NoteSkipped(const std::string& address) {
    // Said once, until the page loads again or another page comes on show.
    if (failing_.insert(address).second)
        Warn(LogArea::Stage, "page skipped, it cannot be loaded: ", address);
    if (++skippedInRow_ == std::max(PageCount(c_.presentation), 1))
        Warn(LogArea::Stage, "no page of the presentation can be loaded");
}

void Player::PreloadCurrentPage() {
    const Presentation& p = c_.presentation;
    browsers_[nextBrowser_].loaded = !p.WaitComplete;
    // Past the last page nothing preloads.
    if (const auto page = PageAt(p, c_.helpDocuments, p.CurrentPage, c_.machine.Snap))
        BrowseTo(nextBrowser_, page->address, page->seconds);
}

void Player::StepWaitSaver() {
    if (!c_.machine.ScreenSaveActive) return;
    // No delay at all would end every pause within a tick.
    const std::chrono::seconds timeOut = c_.machine.ScreenSaveTimeOut;
    const auto delay = static_cast<std::int32_t>(timeOut > timeOut.zero() ? timeOut.count() : 60);
    if (Now() - lastActivityTime_ > Seconds(delay)) {
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
            } else if (policy == MouseMovePolicy::EndShow && graceOver && !c_.machine.Locked) {
                SetState(PlayerState::FinProg);
            }
        }
    }
    c_.toolbars.CheckHelpTip(lastMousePosition_, navigationMode_);
}

}  // namespace pagelark

#include "core/player.h"

#include <algorithm>
#include <utility>

#include "model/presentation.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "settings/settings.h"

namespace pagelark {

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

const char* RemoteStateWord(const Player& player, bool started) {
    const PlayerState state = player.State();
    switch (state) {
        case PlayerState::FinProg:
            return "ending";
        // Also when opened from navigation mode: the window is over the visitor's page.
        case PlayerState::Config:
        case PlayerState::WaitConfig:
            return "config";
        default:
            break;
    }
    if (!player.ScreenIsOn()) return "dark";
    if (player.NavigationMode()) return "navigation";
    // A paused show of no pages still has nothing but its start page to show.
    if (started && player.StartPageAlone(player.CurrentBrowser())) return "problem";
    if (player.Paused()) return "paused";
    if (started && player.OfflineOnShow()) return "offline";
    return started ? "playing" : "starting";
}

Player::Player(PlayerContext context, Show show, WindowBuilder& windows)
    : context_{std::move(context), windows.Build(*this, *this, *this)},
      show_(std::move(show)),
      page_(show_.presentation.FirstPage),
      handedRebootMoment_(show_.machine.RebootMoment),
      welcomeHeld_(context_.welcome) {
    ReadShowTimes();
}

double Player::Now() const {
    return context_.clock.Now();
}

PageEntry Player::StartPage() const {
    PageEntry start = *PageAt(show_.presentation, context_.helpDocuments, 0);
    if (welcomeHeld_) start.seconds = kWelcomeTime;
    return start;
}

void Player::FollowWelcome() {
    if (!welcomeHeld_ || (idle_.Inputs() == 0 && pageOnShow_ == 0)) return;
    welcomeHeld_ = false;
    // A visitor is here: the welcome goes on as any start does, at once when it has had its time.
    const PageEntry start = StartPage();
    for (int b = 0; b < kBrowserCount; ++b) {
        if (browsers_[b].address == start.address) browsers_.SetTime(b, start.seconds);
    }
}

// ---- start-up and the timer ----

void Player::InitBrowsers() {
    const bool connected = context_.connectivity.IsConnected();
    const PageEntry start = StartPage();
    for (int b = 0; b < kBrowserCount; ++b) {
        context_.stage.SetOffline(b, !connected);
        context_.stage.SetSilent(b, true);
        context_.stage.Navigate(b, start.address, false);
        // Recorded like any page sent: a browser that comes on show before it was sent a
        // page (a FirstPage past the end) then holds the start page for its time instead of
        // for ever, and the first INIT step need not load the start page a second time.
        browsers_.Sent(b, start.address);
        browsers_.SetTime(b, start.seconds);
    }
    context_.stage.BringToFront(1);
}

bool Player::StartPageAlone(int browser) const {
    return PageCount(show_.presentation) == 0 && browsers_[browser].address == StartPage().address;
}

void Player::StartPageMoved(const std::string& was) {
    const PageEntry start = StartPage();
    if (was.empty() || start.address == was) return;
    for (int b = 0; b < kBrowserCount; ++b) {
        if (browsers_[b].address == was) BrowseTo(b, start.address, browsers_[b].time);
    }
}

void Player::Tick() {
    FollowClock();
    FollowNotice();
    if (FollowScreen()) {
        MousePart();
        FollowWelcome();
        FollowOfflineReason();
        // A clock-aligned change reaches the screen in this step, not at the next tick.
        RunStep(show_.presentation.ClockAligned);
    }
    FollowScroll();
}

// A clock set back (autumn's daylight-saving change, or by hand) counts every wait from the
// new reading, rather than holding the show until the old one comes round.
void Player::FollowClock() {
    const double now = Now();
    timer_.Follow(now);
    idle_.Follow(now);
    for (std::optional<double>* since :
         {&freshPreloadSince_, &preloadAwaitedSince_, &noticeSince_}) {
        if (*since && **since > now) *since = now;
    }
    if (addressToShow_) addressToShow_->since = std::min(addressToShow_->since, now);
}

void Player::RunStep(bool onToNextPage) {
    if (stepBusy_) return;  // a port call inside the running step dispatched this
    struct BusyGuard {
        bool& busy;
        ~BusyGuard() { busy = false; }
    } guard{stepBusy_};
    stepBusy_ = true;
    StateStep();
    if (onToNextPage && state_ == PlayerState::Navigate) StateStep();
}

void Player::SetState(PlayerState state) {
    // In navigation mode the player never changes page by itself.
    if (state == PlayerState::Navigate && navigationMode_) state = PlayerState::WaitSaver;
    if (state_ == PlayerState::FinProg) return;
    if (state != PlayerState::Navigate && state != PlayerState::WaitTime) PlayEnds();
    // Playing, the counter names the page preloaded; a turn cut short (a pause, navigation mode,
    // the configuration window, an address shown) moves it on as the turn's end would, else the
    // return to the show preloads the page coming on show again.
    if (state_ == PlayerState::WaitTime &&
        (state == PlayerState::WaitSaver || state == PlayerState::Config))
        page_ = MoveCounter(page_, +1, PageCount(show_.presentation), show_.presentation.AutoLoop)
                    .counter;
    if (state != state_)
        Log(LogArea::Player, "state ", StateWord(state_), " -> ", StateWord(state));
    if (state != PlayerState::Navigate) preloadAwaitedSince_.reset();
    state_ = state;
}

void Player::StateStep() {
    if (shownAnswer_) std::exchange(shownAnswer_, nullptr)(Done());
    SettleShownAddress();
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
            context_.stage.UnloadAll();
            break;
    }
}

void Player::StepInit() {
    context_.stage.SetWindowFrame(false);
    SetState(PlayerState::Navigate);
    if (browsersReady_) return;
    const PageEntry start = StartPage();
    preloadPosition_ = 0;
    ReadyBrowsers();
    BrowseTo(browsers_.Next(), start.address, start.seconds);
}

void Player::ReadyBrowsers() {
    context_.stage.SetWindowState(show_.machine.WindowState);
    context_.stage.LayoutBrowsers();
    browsersReady_ = true;
    RecordMouse();
    // Play starts in screen saver mode: the mouse policy's grace counts from here, also when
    // no tool bar was shown to mark the mode's start.
    idle_.SaverModeBegins(context_.clock.Now());
}

void Player::StepNavigate() {
    // The page on show stays while an address asked for loads behind it.
    if (addressToShow_) return;
    if (offered_) TakeOffer();
    if (AlignedPreloadWaits()) return;
    const Presentation& p = show_.presentation;
    // A presentation file may carry a negative FirstPage, and the counter is set again by
    // every new presentation; no page lies below the start page, so such a counter starts there.
    if (page_ < 0) page_ = 0;
    const bool sentAgain = freshPreloadSince_.has_value();
    // Until its load completes a browser shows what it held before, an error page too: the
    // page on show stays meanwhile, as for a page whose time is over (at most MaxTime).
    const double since = sentAgain ? *freshPreloadSince_ : preloadAwaitedSince_.value_or(Now());
    const BrowserRotation::Record& preload = browsers_[browsers_.Next()];
    // With no pages the start page alone is the show (the problem page, a published show's
    // welcome before its first copy): it comes back at once, not after MaxTime.
    if (!preload.address.empty() && !StartPageAlone(browsers_.Next()) &&
        PreloadHolds(Now() - since, preload, p.MaxTime)) {
        if (!sentAgain) preloadAwaitedSince_ = since;
        return;
    }
    freshPreloadSince_.reset();
    preloadAwaitedSince_.reset();
    if (PreloadOutOfHours() || PreloadNotReady(sentAgain)) return;
    browsers_.Rotate();
    skippedInRow_ = 0;
    pageOnShow_ = preloadPosition_;
    idleOnShow_ = idlePreloaded_;
    OfflineCameOnShow();
    AlignedCameOnShow();
    PlayBegins();
    ShowBrowser(browsers_.Current());
    pageOnShowTaken_ = false;
    if (renewDue_) {
        renewDue_ = false;
        for (const int browser : {browsers_.Next(), browsers_.Spare()}) {
            context_.stage.Renew(browser);
            browsers_.Forget(browser);
        }
    }
    PreloadCurrentPage();
    SetState(context_.configCommandLine ? PlayerState::Config : PlayerState::WaitTime);
    if (std::exchange(pausedInDark_, false) && state_ == PlayerState::WaitTime)
        SetState(PlayerState::WaitSaver);
    idle_.Seen(Now());
    ScrollPageOnShow();
}

void Player::TakeShow(Show show, ShowChange change) {
    if (change == ShowChange::NewVersion) {
        offered_ = std::move(show);
        return;
    }
    // A refused reboot stays a day on unless the reboot time was changed.
    const double moved = show_.machine.RebootMoment;
    const bool sameReboot = show.machine.RebootMoment == handedRebootMoment_;
    handedRebootMoment_ = show.machine.RebootMoment;
    show_ = std::move(show);
    if (sameReboot) show_.machine.RebootMoment = moved;
    ReadShowTimes();
    if (change == ShowChange::FromFirstPage) page_ = show_.presentation.FirstPage;
}

void Player::TakeOffer() {
    Show offered = std::move(*offered_);
    offered_.reset();
    // Saved under another name, the show is the operator's own now.
    if (offered.document.CurrentFile != show_.document.CurrentFile) return;
    show_.presentation = std::move(offered.presentation);
    show_.document = std::move(offered.document);
    ReadShowTimes();
    const Presentation& p = show_.presentation;
    page_ = p.FirstPage;
    Log(LogArea::Player, "new version of ", show_.document.CurrentFile, " from its page ", page_);
    failing_.clear();
    skippedInRow_ = 0;
    if (page_ < 0) page_ = 0;
    PreloadCurrentPage();
    freshPreloadSince_ = Now();
    // The counter names the page that preloads once this one comes on show.
    page_ = MoveCounter(page_, +1, PageCount(p), p.AutoLoop).counter;
}

void Player::StepWaitTime() {
    const double now = Now();
    MachineSettings& m = show_.machine;
    if (m.AutoReboot && now > m.RebootMoment) {
        Log(LogArea::Maintenance, "reboot requested", m.ForceReboot ? " (forced)" : "");
        if (context_.maintenance.RebootSequence(m.AutoLogin, m.ForceReboot)) {
            for (int b = 0; b < kBrowserCount; ++b)
                context_.stage.Stop(b);
            SetState(PlayerState::FinProg);
            return;
        }
        // Refused: the show goes on, and the reboot is due again at the same time tomorrow.
        while (m.RebootMoment < now)
            m.RebootMoment += 1.0;
    }
    // Nothing preloads (a published show before its first copy came): a version offered
    // comes on show at once instead of after MaxTime.
    if (offered_ && !PageAt(show_.presentation, context_.helpDocuments, page_)) {
        SetState(PlayerState::Navigate);
        return;
    }
    if (idleOnShow_ && LookForDuePage(now)) return;
    // The next due page, or the idle page, takes over once it has loaded.
    if (HeldPastItsHours(now)) timer_.HoursOver();

    // The visitor has gone: the next page change shows the next page loaded afresh.
    if (!addressToShow_ && idle_.VisitOver(now, m.ScreenSaveTimeOut)) {
        Log(LogArea::Player, "the visitor left the show's pages");
        ForgetVisitor();
    }
    if (KeepTryingShow(now)) return;

    const BrowserRotation::Record& preload = browsers_[browsers_.Next()];
    const PageTimer::Turn turn = AlignedTurn(preload).value_or(
        timer_.At(now, browsers_[browsers_.Current()].time, preload, show_.presentation.MaxTime));
    if (turn == PageTimer::Turn::Stay) return;
    if (turn == PageTimer::Turn::PassOver) {
        NoteSkipped(preload.address);
        AdvancePage(+1);
        if (context_.snapshots.TakeSnapshot(pageOnShowTaken_, SnapshotNow()))
            SetState(PlayerState::FinProg);
        pageOnShowTaken_ = true;
        if (state_ == PlayerState::FinProg) return;
        PreloadCurrentPage();
        timer_.AnotherTurn(now);
        SetState(PlayerState::WaitTime);
        return;
    }
    // It waited for the preload already.
    preloadAwaitedSince_ = timer_.Since();
    AdvancePage(+1);
    if (context_.snapshots.TakeSnapshot(pageOnShowTaken_, SnapshotNow()))
        SetState(PlayerState::FinProg);
}

bool Player::PreloadNotReady(bool sentAgain) {
    const int next = browsers_.Next();
    const BrowserRotation::Record& preload = browsers_[next];
    if (preload.address.empty()) return false;
    // Where its page went since it landed is not the page: it loads again, and comes on show
    // as it is then.
    if (preload.left && !preload.failed && !sentAgain) {
        browsers_.PreloadStarts(true);
        SendAgain(next);
        freshPreloadSince_ = Now();
        return true;
    }
    if (!preload.failed) return false;
    // Passed over as at its turn: the page after it preloads in its place while the page on
    // show stays; with every page failing, for another turn.
    NoteSkipped(preload.address);
    PreloadCurrentPage();
    AdvancePage(+1);
    if (state_ == PlayerState::FinProg) return true;
    if (skippedInRow_ >= std::max(PageCount(show_.presentation), 1)) {
        timer_.AnotherTurn(Now());
        SetState(PlayerState::WaitTime);
    } else {
        freshPreloadSince_ = Now();
    }
    return true;
}

void Player::NoteSkipped(const std::string& address) {
    PlayPassedOver(address);
    // Said once, until the page loads again or another page comes on show.
    if (failing_.insert(address).second)
        Warn(LogArea::Stage, "page skipped, it cannot be loaded: ", Clipped(address));
    if (++skippedInRow_ == std::max(PageCount(show_.presentation), 1))
        Warn(LogArea::Stage, "no page of the presentation can be loaded");
}

void Player::PreloadCurrentPage() {
    const Presentation& p = show_.presentation;
    const bool aligned = AlignCounter();
    // A try behind the offline page loads afresh: a browser holding an earlier load of the
    // page proves nothing of the server now.
    if (OfflineOnShow()) browsers_.Forget(browsers_.Next());
    browsers_.PreloadStarts(p.WaitComplete);
    // The clock chose a due page, or none is due and the idle page stands in.
    if (aligned)
        idlePreloaded_ = false;
    else if (PreloadIdlePage())
        return;
    if (PreloadOfflinePage()) return;
    // Past the last page nothing preloads.
    if (const auto page = PageAt(p, context_.helpDocuments, page_, show_.machine.Snap)) {
        preloadPosition_ = page_;
        BrowseTo(browsers_.Next(), page->address, page->seconds, false, page->zoom);
    }
}

SnapshotOf Player::SnapshotNow() const {
    return {show_.machine.Snap, show_.machine.SnapPath, show_.document.CurrentFile,
            PageCount(show_.presentation)};
}

void Player::StepWaitSaver() {
    if (idle_.IdleOver(Now(), show_.machine.ScreenSaveActive, show_.machine.ScreenSaveTimeOut)) {
        SetState(PlayerState::Init);
        RecordMouse();
        LeaveNavigationMode();
        ForgetVisitor();
    }
}

void Player::StepConfig() {
    context_.configWindow.Open();
    context_.toolbars.MakeToolbarsTopmost();
    SetState(PlayerState::WaitConfig);
}

void Player::MousePart() {
    if (!idle_.HasReference()) {
        RecordMouse();
        return;
    }
    const bool configOpen = state_ == PlayerState::Config || state_ == PlayerState::WaitConfig ||
                            context_.configCommandLine;
    if (!configOpen) {
        const ScreenPoint pointer = context_.desktop.CursorPosition();
        // A visitor browsing keeps a woken screen lit for as long as they move the pointer.
        if (navigationMode_ && pointer != idle_.LastPointer()) screen_.Input(Now());
        switch (idle_.PointerAt(pointer, Now(), show_.machine.OnMouseMove, navigationMode_,
                                show_.machine.Locked)) {
            case IdleWatch::Move::EnterNavigation:
                RunFromScreen(Command::Navigation);
                break;
            case IdleWatch::Move::EndShow:
                SetState(PlayerState::FinProg);
                break;
            case IdleWatch::Move::None:
                break;
        }
    }
    context_.toolbars.CheckHelpTip(idle_.LastPointer(), navigationMode_);
}

}  // namespace pagelark

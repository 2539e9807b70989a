#include "core/player.h"

#include <chrono>
#include <utility>

#include "core/address_check.h"
#include "core/days.h"
#include "core/locked.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "platform/log.h"
#include "platform/text.h"
#include "settings/settings.h"

namespace pagelark {

namespace {

// The help page the Help command opens.
constexpr std::size_t kDocumentationPage = 3;
// Display time given to the page Home brings.
constexpr std::chrono::seconds kHomeSeconds{10};
// Display time given to an address the visitor typed, as for the home page.
constexpr std::chrono::seconds kTypedAddressSeconds{10};
// The longest a remote caller waits for the address it asked for; a bus call of the usual
// tools gives up after 25 seconds.
constexpr std::chrono::seconds kAddressLoadLimit{20};
// Longer addresses are refused at once: the engine would not load one of megabytes either.
constexpr std::size_t kLongestAddress = std::size_t{64} * 1024;
// While it loads, the page on show stays and no remote play command acts: it would only be
// held.
constexpr const char* kAddressLoading = "an address is still loading";

}  // namespace

// ---- page sequencing ----

void Player::AdvancePage(int delta) {
    const Presentation& p = show_.presentation;
    const CounterMove move = MoveCounter(page_, delta, PageCount(p), p.AutoLoop);
    page_ = move.counter;
    // Previous goes back to a page that is due.
    if (delta != 1) PassOverPagesNotDue(delta);
    SetState(PlayerState::Navigate);
    if (move.ends) SetState(PlayerState::FinProg);
}

void Player::Resume() {
    pausedInDark_ = false;
    if (navigationMode_) {
        if (state_ == PlayerState::WaitSaver) SetState(PlayerState::Init);
        RecordMouse();
        LeaveNavigationMode();
        ForgetVisitor();
        if (ToolRunShown())
            ShowCursor();
        else
            HideCursor();
    } else if (state_ == PlayerState::WaitSaver) {
        SetState(PlayerState::Navigate);
    }
}

void Player::GoHome() {
    const int shown = browsers_.Current();
    browsers_.SetTime(shown, kHomeSeconds);
    if (!browsers_.Holds(shown, show_.presentation.HomeURL))
        SendAddress(shown, show_.presentation.HomeURL, true);
}

// ---- other commands and keys ----

void Player::Terminate() {
    SetState(PlayerState::FinProg);
}

bool Player::OpenConfig() {
    // A kiosk started in its dark hours has not started its show: the operator's call lights
    // it, and the window opens while the first page loads behind black.
    if (dark_ && state_ == PlayerState::Init && !stepBusy_) {
        screen_.Input(Now());
        FollowScreen();
    }
    if (state_ == PlayerState::Init || state_ == PlayerState::FinProg) return false;
    SetState(PlayerState::Config);
    return true;
}

void Player::OpenHelp() {
    // Help is navigation mode, over pages the include list need not name.
    idle_.Seen(Now());
    EnterNavigationMode();
    PrepareBrowsersForUser();
    if (context_.toolbars.ToolNavVisibleCount() > 0) ShowCursor();
    context_.toolbars.CheckHelpTip(idle_.LastPointer(), navigationMode_);
    BrowseTo(browsers_.Current(), context_.helpDocuments[kDocumentationPage],
             std::chrono::seconds::zero(), true);
}

void Player::HandleKey(KeyCode key, int shift) {
    // A key on the dark screen only wakes it: Escape there never ends the show.
    if (dark_ && TakeWakingInput()) return;
    if ((key == KeyCode::Escape && shift == 0) || (key == KeyCode::F4 && shift == kAltMask)) {
        if (QuitAllowed()) RunFromScreen(Command::Quit);
    } else if (key == KeyCode::F1 && shift == 0) {
        if (HelpAllowed()) RunFromScreen(Command::Help);
    } else if (key == KeyCode::F10) {
        if (!show_.machine.Locked) {
            const std::string program = context_.debug.DebugProgram(show_.document.CurrentFile);
            if (!program.empty()) context_.launcher.StartMinimized(program);
        }
    }
    idle_.Input(Now());
    FollowScroll();
}

bool Player::QuitAllowed() const {
    if (show_.machine.Locked) return false;
    return show_.buttons.Run(ToolRunSlot::Quit).Visible ||
           show_.buttons.Nav(ToolNavSlot::Quit).Visible;
}

bool Player::HelpAllowed() const {
    // A locked kiosk refuses the help as the quit and the configuration window.
    return !show_.machine.Locked && (show_.buttons.Run(ToolRunSlot::Help).Visible ||
                                     show_.buttons.Nav(ToolNavSlot::Help).Visible);
}

void Player::ConfigShown() {
    ShowCursor();
}

std::string Player::CurrentLocation() const {
    return context_.stage.LocationURL(browsers_.Current());
}

void Player::ShowInStage(const std::string& address) {
    BrowseTo(browsers_.Current(), address, std::chrono::seconds::zero());
}

void Player::ConfigClosed(bool ok) {
    idle_.SaverModeBegins(Now());
    if (ok) {
        SetState(PlayerState::Init);
        RecordMouse();
    }
    if (context_.configCommandLine) {
        SetState(PlayerState::FinProg);
        return;
    }
    SetState(PlayerState::Navigate);
    if (!navigationMode_) ForgetVisitor();
    if (navigationMode_ ? ToolNavShown() : ToolRunShown())
        ShowCursor();
    else
        HideCursor();
}

// ---- the commands' rules ----

Result<> Player::Refusal(const CommandCall& request) const {
    const Command command = request.command;
    const bool remote = request.source == CommandSource::Remote;
    // Nothing plays while dark: a change asked for would be unseen, and a pause lost at the wake.
    if (dark_ &&
        (command == Command::Play || command == Command::Pause || command == Command::Previous ||
         command == Command::Next || command == Command::Reload || command == Command::ShowAddress))
        return Fail("the screen is dark");
    switch (command) {
        case Command::Play:
            if (remote && addressToShow_) return Fail(kAddressLoading);
            // A visitor's Play ends the browsing; a remote one only resumes a paused show.
            if (state_ == PlayerState::WaitSaver || (navigationMode_ && !remote)) return Done();
            return Fail("the show is not paused");
        case Command::Pause:
        case Command::Previous:
        case Command::Next: {
            if (remote && addressToShow_) return Fail(kAddressLoading);
            if (navigationMode_) return Fail("a visitor is browsing");
            // The idle page stays until a page is due; it may be paused.
            if (idleOnShow_ && idlePreloaded_ && command != Command::Pause)
                return Fail("no page is due");
            if (command != Command::Pause && show_.presentation.ClockAligned)
                return Fail("the pages follow the clock");
            const bool playing = state_ == PlayerState::Navigate || state_ == PlayerState::WaitTime;
            if (command != Command::Pause && playing && PageCount(show_.presentation) == 0)
                return Fail("the presentation has no pages");
            // A page change waits for its page to finish loading; Previous is not held, as the
            // tool bar's never was.
            if (command == Command::Next && state_ == PlayerState::Navigate)
                return Fail("the next page is still loading");
            if (!playing) return Fail("the show is not playing");
            return Done();
        }
        case Command::Reload:
            // A remote service reloads the page on show in either mode.
            if (remote && addressToShow_) return Fail(kAddressLoading);
            if (remote && (!browsersReady_ || state_ == PlayerState::FinProg))
                return Fail("no page is on show");
            if (remote || navigationMode_) return Done();
            return Fail("no visitor is browsing");
        case Command::Stop:
        case Command::Back:
        case Command::Forward:
            if (!navigationMode_) return Fail("no visitor is browsing");
            return Done();
        case Command::Navigation:
            if (!NavigationOffered(show_.machine.Locked, show_.presentation))
                return Fail("the presentation offers no navigation");
            return Done();
        case Command::Quit:
        case Command::Config:
        case Command::Help:
            if (show_.machine.Locked) return Fail("the kiosk is locked");
            return Done();
        case Command::ShowAddress:
            return AddressRefusal(request.argument);
        case Command::Snapshot:
            // The kiosk takes it: the show has no part in it.
            return Fail("the show takes no snapshot");
        case Command::ScreenOn:
        case Command::ScreenOff:
            if (state_ == PlayerState::FinProg) return Fail("the kiosk is ending");
            // The window keeps the screen lit: a switch would wait unseen till it closes.
            if (state_ == PlayerState::Config || state_ == PlayerState::WaitConfig)
                return Fail("the configuration window is open");
            return Done();
        case Command::Home:
        case Command::Browse:
            return Done();
    }
    return Done();
}

Result<> Player::Run(const CommandCall& request) {
    if (Result<> refused = Refusal(request); !refused) return refused;
    const int shown = browsers_.Current();
    switch (request.command) {
        case Command::Play:
            Resume();
            break;
        case Command::Pause:
            idle_.Seen(Now());
            SetState(PlayerState::WaitSaver);
            break;
        case Command::Previous:
        case Command::Next:
            AdvancePage(request.command == Command::Next ? +1 : -1);
            SetState(PlayerState::Navigate);
            break;
        case Command::Reload:
            context_.stage.Reload(shown);
            break;
        case Command::Stop:
            context_.stage.Stop(shown);
            break;
        case Command::Back:
            context_.stage.GoBack(shown);
            break;
        case Command::Forward:
            context_.stage.GoForward(shown);
            break;
        case Command::Home:
            GoHome();
            break;
        case Command::Navigation:
            SwitchToNavigation();
            break;
        case Command::Quit:
            Terminate();
            break;
        case Command::Config:
            if (!OpenConfig()) return Fail("the show has not started");
            break;
        case Command::Help:
            OpenHelp();
            break;
        case Command::Browse:
            // Refused before it loads: the page on show stays, untouched.
            if (Refuses(request.argument, true)) {
                Log(LogArea::Player, "typed address refused: ", Clipped(request.argument));
                RefusedForVisitor();
                return Fail("the presentation's address lists refuse it");
            }
            BrowseTo(shown, request.argument, kTypedAddressSeconds, true);
            break;
        case Command::ShowAddress:
            LoadAddressToShow(request.argument, request.answer);
            break;
        case Command::ScreenOn:
        case Command::ScreenOff:
            screen_.Switch(request.command == Command::ScreenOn, Now());
            if (!stepBusy_) FollowScreen();
            break;
        case Command::Snapshot:
            break;
    }
    FollowScroll();
    return Done();
}

namespace {

// Why the show cannot take an address now; "" when it can.
std::string ShowBusy(PlayerState state, bool navigationMode) {
    if (state == PlayerState::Config || state == PlayerState::WaitConfig)
        return "the configuration window is open";
    if (navigationMode) return "a visitor is browsing";
    return "";
}

}  // namespace

Result<> Player::AddressRefusal(const std::string& address) const {
    if (address.size() > kLongestAddress) return Fail("the address is over 64 KiB");
    // Only web pages: a command from the network never shows the machine's own files.
    if (!StartsWithNoCase(address, "http://") && !StartsWithNoCase(address, "https://"))
        return Fail("only http and https addresses are shown");
    if (HasUserInfo(address)) return Fail("an address with a user name is refused");
    if (Refuses(address, true)) return Fail("the presentation's address lists refuse it");
    if (!browsersReady_ || state_ == PlayerState::FinProg) return Fail("the show has not started");
    if (addressToShow_) return Fail("another address is still loading");
    if (std::string busy = ShowBusy(state_, navigationMode_); !busy.empty()) return Fail(busy);
    return Done();
}

void Player::LoadAddressToShow(const std::string& address, CommandAnswer answer) {
    // Out of sight: an address that cannot be loaded never puts an error page on show.
    const int spare = browsers_.Spare();
    browsers_.SetTime(spare, std::chrono::seconds::zero());
    SendAddress(spare, address);
    addressToShow_ = AddressToShow{.address = address,
                                   .browser = spare,
                                   .since = Now(),
                                   .answer = std::move(answer),
                                   .loaded = false,
                                   .failure = std::nullopt};
}

void Player::SettleShownAddress() {
    if (!addressToShow_) return;
    AddressToShow& shown = *addressToShow_;
    std::string refusal =
        state_ == PlayerState::FinProg ? "the kiosk is ending" : ShowBusy(state_, navigationMode_);
    if (refusal.empty() && shown.failure) {
        refusal = "the address could not be loaded: " + *shown.failure;
    } else if (refusal.empty() && !shown.loaded) {
        if (Now() - shown.since <= InDays(kAddressLoadLimit)) return;
        refusal = "the address could not be loaded: it took longer than " +
                  std::to_string(kAddressLoadLimit.count()) + " seconds";
    }
    CommandAnswer answer = std::move(shown.answer);
    const std::string address = std::move(shown.address);
    addressToShow_.reset();
    if (!refusal.empty()) {
        Warn(LogArea::Player, "address not shown: ", Clipped(address), ": ", refusal);
        if (answer) answer(Fail(refusal));
        return;
    }
    browsers_.SwapSpare();
    ShowBrowser(browsers_.Current());
    idle_.Seen(Now());
    SetState(PlayerState::WaitSaver);
    shownAnswer_ = std::move(answer);
}

}  // namespace pagelark

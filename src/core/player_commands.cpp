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
// While it loads, the page on show stays and no play command acts: it would only be held.
constexpr const char* kAddressLoading = "an address is still loading";

}  // namespace

// ---- page sequencing ----

void Player::AdvancePage(int delta) {
    Presentation& p = context_.presentation;
    const CounterMove move = MoveCounter(p.CurrentPage, delta, PageCount(p), p.AutoLoop);
    p.CurrentPage = move.counter;
    SetState(PlayerState::Navigate);
    if (move.ends) SetState(PlayerState::FinProg);
}

void Player::CmdPlay() {
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

void Player::CmdPause() {
    if (!PlayCommandActs(PlayCommand::Pause, state_, navigationMode_)) return;
    idle_.Seen(Now());
    SetState(PlayerState::WaitSaver);
}

void Player::CmdPrevious() {
    if (!PlayCommandActs(PlayCommand::Previous, state_, navigationMode_)) return;
    AdvancePage(-1);
    SetState(PlayerState::Navigate);
}

void Player::CmdNext() {
    if (!PlayCommandActs(PlayCommand::Next, state_, navigationMode_)) return;
    AdvancePage(+1);
    SetState(PlayerState::Navigate);
}

void Player::GoHome() {
    const int shown = browsers_.Current();
    browsers_.SetTime(shown, kHomeSeconds);
    if (!browsers_.Holds(shown, context_.presentation.HomeURL))
        SendAddress(shown, context_.presentation.HomeURL, true);
}

// ---- other commands and keys ----

void Player::CmdQuit() {
    if (!context_.machine.Locked) Terminate();
}

void Player::Terminate() {
    SetState(PlayerState::FinProg);
}

void Player::CmdConfig() {
    if (!context_.machine.Locked) OpenConfig();
}

bool Player::OpenConfig() {
    if (state_ == PlayerState::Init || state_ == PlayerState::FinProg) return false;
    SetState(PlayerState::Config);
    return true;
}

void Player::CmdHelp() {
    // Help is navigation mode, over pages the include list need not name.
    if (context_.machine.Locked) return;
    idle_.Seen(Now());
    EnterNavigationMode();
    PrepareBrowsersForUser();
    if (context_.toolbars.ToolNavVisibleCount() > 0) ShowCursor();
    context_.toolbars.CheckHelpTip(idle_.LastPointer(), navigationMode_);
    BrowseTo(browsers_.Current(), context_.helpDocuments[kDocumentationPage],
             std::chrono::seconds::zero(), true);
}

void Player::CmdBack() {
    if (navigationMode_) context_.stage.GoBack(browsers_.Current());
}

void Player::CmdForward() {
    if (navigationMode_) context_.stage.GoForward(browsers_.Current());
}

void Player::CmdStop() {
    if (navigationMode_) context_.stage.Stop(browsers_.Current());
}

void Player::CmdReload() {
    if (navigationMode_) context_.stage.Reload(browsers_.Current());
}

void Player::HandleKey(KeyCode key, int shift) {
    if ((key == KeyCode::Escape && shift == 0) || (key == KeyCode::F4 && shift == kAltMask)) {
        if (QuitAllowed()) SetState(PlayerState::FinProg);
    } else if (key == KeyCode::F1 && shift == 0) {
        if (HelpAllowed()) CmdHelp();
    } else if (key == KeyCode::F10) {
        if (!context_.machine.Locked &&
            context_.settings.DebugEnabled(context_.presentation.CurrentFile)) {
            const std::string program =
                context_.settings.ReadSetting(context_.presentation.CurrentFile, "IEPath");
            if (!program.empty()) context_.launcher.StartMinimized(program);
        }
    }
    idle_.Input(Now());
}

bool Player::QuitAllowed() const {
    if (context_.machine.Locked) return false;
    return context_.buttons.Run(ToolRunSlot::Quit).Visible ||
           context_.buttons.Nav(ToolNavSlot::Quit).Visible;
}

bool Player::HelpAllowed() const {
    return context_.buttons.Run(ToolRunSlot::Help).Visible ||
           context_.buttons.Nav(ToolNavSlot::Help).Visible;
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

void Player::BrowseAddress(const std::string& address) {
    BrowseTo(browsers_.Current(), address, kTypedAddressSeconds, true);
}

// ---- the remote services' commands ----

std::string Player::Remote(PlayCommand command) {
    if (addressToShow_) return kAddressLoading;
    if (navigationMode_) return "a visitor is browsing";
    // A page change waits for its page to finish loading.
    if (command == PlayCommand::Next && state_ == PlayerState::Navigate)
        return "the next page is still loading";
    if (!PlayCommandActs(command, state_, navigationMode_)) return "the show is not playing";
    switch (command) {
        case PlayCommand::Pause:
            CmdPause();
            break;
        case PlayCommand::Previous:
            CmdPrevious();
            break;
        case PlayCommand::Next:
            CmdNext();
            break;
    }
    return "";
}

std::string Player::RemotePlay() {
    if (addressToShow_) return kAddressLoading;
    if (state_ != PlayerState::WaitSaver) return "the show is not paused";
    CmdPlay();
    return "";
}

std::string Player::RemoteReload() {
    if (addressToShow_) return kAddressLoading;
    if (!browsersReady_ || state_ == PlayerState::FinProg) return "no page is on show";
    context_.stage.Reload(browsers_.Current());
    return "";
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

void Player::RemoteShowAddress(const std::string& address, RemoteControl::Answer answer) {
    const auto refusal = [&]() -> std::string {
        if (address.size() > kLongestAddress) return "the address is over 64 KiB";
        // Only web pages: a command from the network never shows the machine's own files.
        if (!StartsWithNoCase(address, "http://") && !StartsWithNoCase(address, "https://"))
            return "only http and https addresses are shown";
        if (HasUserInfo(address)) return "an address with a user name is refused";
        if (Refuses(address, true)) return "the presentation's address lists refuse it";
        if (!browsersReady_ || state_ == PlayerState::FinProg) return "the show has not started";
        if (addressToShow_) return "another address is still loading";
        return ShowBusy(state_, navigationMode_);
    }();
    if (!refusal.empty()) {
        answer(refusal);
        return;
    }
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
    RemoteControl::Answer answer = std::move(shown.answer);
    const std::string address = std::move(shown.address);
    addressToShow_.reset();
    if (!refusal.empty()) {
        Warn(LogArea::Player, "address not shown: ", Clipped(address), ": ", refusal);
        answer(refusal);
        return;
    }
    browsers_.SwapSpare();
    ShowBrowser(browsers_.Current());
    idle_.Seen(Now());
    SetState(PlayerState::WaitSaver);
    shownAnswer_ = std::move(answer);
}

}  // namespace pagelark

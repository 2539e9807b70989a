#include "core/player.h"

#include "core/address_check.h"
#include "core/locked.h"
#include "core/own_pages.h"
#include "model/address_scheme.h"
#include "model/presentation.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "settings/settings.h"

namespace pagelark {

// ---- browser events ----

bool Player::Refuses(const std::string& address, bool topLevel) const {
    // The program's own idle and offline pages, whatever the lists.
    if (IsBlackPage(address) || IsOwnOfflinePage(address)) return false;
    return NavigationBlocked(show_.presentation, address, context_.helpFolder) ||
           (show_.machine.Locked &&
            LockedRefuses(show_.presentation, address, context_.helpFolder, topLevel));
}

bool Player::CheckNavigation(int browser, const std::string& address, bool topLevel) {
    const bool cancel = Refuses(address, topLevel);
    if (cancel)
        Log(LogArea::Stage, "navigation refused in browser ", browser, ": ", Clipped(address));
    if (!BrowserRotation::Valid(browser)) return cancel;
    // Only the page on show: the preloading browser is visible too, behind it.
    if (!cancel && topLevel && browser == browsers_.Current() &&
        context_.stage.BrowserVisible(browser))
        context_.toolbars.SetAddress(address);
    if (CountsAsActivity(navigationMode_, address, browsers_[browser].address,
                         show_.machine.SpecialURL))
        idle_.Seen(Now());
    return cancel;
}

void Player::DocumentComplete(int browser) {
    if (!BrowserRotation::Valid(browser)) return;
    browsers_.Completed(browser);
    failing_.erase(browsers_[browser].address);
    if (browsers_[browser].address == lastLoadFailure_) lastLoadFailure_.clear();
    if (addressToShow_ && addressToShow_->browser == browser) addressToShow_->loaded = true;
    // A page change, an error page on show, or a late clock-aligned page waits for this one
    // alone: the time left to a late page is judged as it loads, not at the next tick.
    const bool waited =
        state_ == PlayerState::Navigate ||
        (state_ == PlayerState::WaitTime && (timer_.IsCutShort() || alignedPreload_));
    if (browser == browsers_.Next() && waited) RunStep(true);
}

void Player::LoadFailed(int browser, const std::string& reason, bool errorPage) {
    if (!BrowserRotation::Valid(browser) || OwnOfflinePageInstead(browser, reason)) return;
    browsers_.Failed(browser);
    lastLoadFailure_ = browsers_[browser].address;
    lastLoadFailureReason_ = reason;
    if (addressToShow_ && addressToShow_->browser == browser) addressToShow_->failure = reason;
    if (!errorPage) return;
    if (browser == browsers_.Current())
        ErrorPageOnShow(reason);
    else if (browser == browsers_.Next() && !navigationMode_)
        Log(LogArea::Stage, "the page preloading in browser ", browser, " cannot be loaded (",
            reason, ")");
}

void Player::ErrorPageOnShow(const std::string& reason) {
    // A visitor may see what the engine says of the address they asked for.
    if (navigationMode_ || !browsersReady_) return;
    if (state_ != PlayerState::WaitTime && state_ != PlayerState::WaitSaver) return;
    // Not landed: it came on show unfinished, after MaxTime, and its own load failed.
    Warn(LogArea::Stage, "the page on show ",
         browsers_[browsers_.Current()].landed ? "went where it cannot be loaded"
                                               : "could not be loaded",
         " (", reason, "); the show moves on");
    PlayFailedOnShow();
    // A pause, or an address a remote service asked for, ends as with Play; a page of the
    // show gives way as soon as the next is ready, and loads again before its next turn.
    if (state_ == PlayerState::WaitSaver)
        SetState(PlayerState::Navigate);
    else
        timer_.CutShort();
    // Now rather than at the next tick: each step shortens the time it is on the screen.
    RunStep(true);
}

std::string Player::AddressOnShow() const {
    const BrowserRotation::Record& shown = browsers_[browsers_.Current()];
    return Clipped(shown.location.empty() ? shown.address : shown.location);
}

std::string Player::LastLoadFailure() const {
    return Clipped(lastLoadFailure_);
}

void Player::LocationChanged(int browser, const std::string& address) {
    if (!BrowserRotation::Valid(browser)) return;
    browsers_.Located(browser, address);
    FollowScroll();
    // The engine asks nothing before some addresses a page reaches by itself ("about:" pages
    // by a link, a refresh or a script); its error page is a failed load's, and the white page
    // it puts in place of one it blocks is a refused address's.
    if (address.empty() || address.starts_with("chrome-error:") ||
        (!EngineBlocked(address) && !Refuses(address, true)))
        return;
    // No notice here: a page may move itself (a script, a refresh) with no visitor there; a
    // visitor's own link is told by the address check the stage reports.
    Warn(LogArea::Stage, "browser ", browser, " reached a refused address: ", Clipped(address));
    const BrowserRotation::Record& r = browsers_[browser];
    if (!r.bounced && !r.address.empty()) {
        SendAgain(browser);
        browsers_.Bounced(browser);
        return;
    }
    // It goes there again: a page that cannot be shown.
    LoadFailed(browser, "it went to a refused address", true);
}

void Player::PageMoved(int browser, bool byVisitor) {
    if (BrowserRotation::Valid(browser)) browsers_.Moved(browser, byVisitor);
    FollowScroll();
}

namespace {

constexpr double kNoticeSeconds = 4;

}  // namespace

void Player::VisitorRefused(int browser) {
    if (browser == browsers_.Current() && context_.stage.BrowserVisible(browser))
        RefusedForVisitor();
}

void Player::RefusedForVisitor() {
    context_.stage.ShowNotice("This address is not part of this kiosk");
    noticeSince_ = Now();
    // A link opened in place is at the refused address until it is sent back to its own.
    const BrowserRotation::Record& r = browsers_[browsers_.Current()];
    const bool away =
        !r.location.empty() && (EngineBlocked(r.location) || Refuses(r.location, true));
    context_.toolbars.SetAddress(away ? r.address
                                      : context_.stage.LocationURL(browsers_.Current()));
}

void Player::FollowNotice() {
    if (!noticeSince_ || (Now() - *noticeSince_) * kSecondsPerDay < kNoticeSeconds) return;
    noticeSince_.reset();
    context_.stage.ShowNotice("");
}

void Player::WindowResized() {
    if (browsersReady_) context_.stage.LayoutBrowsers();
}

// ---- the three browsers ----

void Player::SendAddress(int browser, const std::string& address, bool keepHistory,
                         std::int32_t zoom) {
    browsers_.Sent(browser, address, zoom);
    const bool offline = !context_.connectivity.IsConnected();
    if (context_.stage.Offline(browser) != offline) context_.stage.SetOffline(browser, offline);
    if (!context_.stage.Silent(browser)) context_.stage.SetSilent(browser, true);
    // Before the load, so the page is laid out at its size from its first frame, and every
    // load sets it, so no page keeps the zoom of the one before it.
    context_.stage.SetZoom(browser, zoom);
    context_.stage.Navigate(browser, address, keepHistory);
}

void Player::SendAgain(int browser) {
    const BrowserRotation::Record& r = browsers_[browser];
    SendAddress(browser, std::string(r.address), false, r.zoom);
}

void Player::BrowseTo(int browser, const std::string& address, std::chrono::seconds time,
                      bool keepHistory, std::int32_t zoom) {
    if (!BrowserRotation::Valid(browser)) return;
    if (browsers_.Assign(browser, address, time, zoom))
        SendAddress(browser, address, keepHistory, zoom);
}

void Player::ShowBrowser(int browser) {
    if (!BrowserRotation::Valid(browser)) return;
    context_.stage.BringToFront(browser);
    // The notice was about the page that gave way.
    if (noticeSince_) {
        noticeSince_.reset();
        context_.stage.ShowNotice("");
    }
    // Its page was loaded while it was behind, so the address box has not seen it.
    context_.toolbars.SetAddress(context_.stage.LocationURL(browser));
    Log(LogArea::Player, "on show in browser ", browser, ": ", Clipped(browsers_[browser].address));
    if (context_.stage.OwnWindowActive()) context_.stage.Focus(browser);
    timer_.Start(Now());
}

}  // namespace pagelark

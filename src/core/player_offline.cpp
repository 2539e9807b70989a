// No page of the show can be loaded (the network or its server is down): the offline page
// stands in, and the show's pages are tried behind it, further apart each time, until one
// loads and the show goes on from it.

#include <algorithm>
#include <chrono>

#include "core/own_pages.h"
#include "core/player.h"
#include "model/presentation.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "settings/settings.h"

namespace pagelark {

namespace {

// Seconds between tries behind the offline page: doubled after each, up to the longest.
constexpr double kFirstWait = 2.0;
constexpr double kLongestWait = 60.0;

}  // namespace

bool Player::OfflineOnShow() const {
    const BrowserRotation::Record& shown = browsers_[browsers_.Current()];
    if (pageOnShow_ != 0 || idleOnShow_ || shown.failed || shown.address.empty()) return false;
    const std::string& own = show_.presentation.OfflinePage;
    return IsOwnOfflinePage(shown.address) || (offline_.said && shown.address == own);
}

bool Player::PreloadOfflinePage() {
    // A snapshot run passes over what fails and ends after its count, as ever.
    if (show_.machine.Snap || skippedInRow_ < std::max(PageCount(show_.presentation), 1) ||
        OfflineOnShow())
        return false;
    if (!offline_.said) {
        offline_.said = true;
        Warn(LogArea::Player, "the show is offline: the offline page stands in until a page loads");
    }
    offline_.tryScheduled = false;
    offline_.wait = kFirstWait;
    // An offline page of the owner's that cannot be loaded gives way to the program's own.
    const std::string& own = show_.presentation.OfflinePage;
    offline_.why = OfflineReasonShown();
    const std::string address = own.empty() || failing_.contains(own) ? OwnOfflineAddress() : own;
    preloadPosition_ = 0;
    // It stays until a page of the show loads behind it or a command moves on.
    BrowseTo(browsers_.Next(), address, std::chrono::seconds::zero());
    // Once loaded it takes the place of the page on show, whatever that one's time left.
    timer_.CutShort();
    return true;
}

bool Player::KeepTryingShow(double now) {
    // A clock-aligned show tries each page at its moment, so screens come back in step.
    if (show_.presentation.ClockAligned || !OfflineOnShow()) return false;
    // A new version of the show is tried at once: it may mend what failed.
    if (offered_) {
        SetState(PlayerState::Navigate);
        return true;
    }
    const BrowserRotation::Record& preload = browsers_[browsers_.Next()];
    // It was sent when the offline page came on show, or at the last try.
    if (PreloadHolds(now - timer_.Since(), preload, show_.presentation.MaxTime)) return true;
    if (preload.loaded && !preload.failed) {
        // Back: it comes on show, and the show goes on from there.
        AdvancePage(+1);
        return true;
    }
    if (!offline_.tryScheduled) {
        offline_.tryScheduled = true;
        offline_.nextTry = now + offline_.wait / kSecondsPerDay;
        offline_.wait = std::min(offline_.wait * 2, kLongestWait);
        return true;
    }
    if (now < offline_.nextTry) return true;
    offline_.tryScheduled = false;
    // The show's pages in turn, round and round whether or not the show loops.
    page_ = MoveCounter(page_, +1, PageCount(show_.presentation), true).counter;
    PreloadCurrentPage();
    timer_.AnotherTurn(now);
    return true;
}

void Player::OfflineCameOnShow() {
    if (!offline_.said || pageOnShow_ < 1) return;
    offline_.said = false;
    Warn(LogArea::Player, "the show is back: page ", pageOnShow_, " loaded");
}

bool Player::OfflineReasonShown() const {
    return navigationMode_ || ToolRunShown();
}

std::string Player::OwnOfflineAddress() const {
    return OwnOfflinePage(offline_.why ? OfflineWhy() : "");
}

std::string Player::OfflineWhy() const {
    if (lastLoadFailure_.empty()) return {};
    return Clipped(lastLoadFailure_) + " cannot be loaded" +
           (lastLoadFailureReason_.empty() ? "" : ": " + lastLoadFailureReason_);
}

bool Player::OwnOfflinePageInstead(int browser, const std::string& reason) {
    // An owner's offline page on show that fails or wanders off gives way to the program's
    // own: failed, it would end the tries behind it.
    if (browser != browsers_.Current() || !OfflineOnShow()) return false;
    // The program's own needs nothing loaded: a failure reported now is a late one of the page
    // it replaced, and must not end the tries either.
    if (IsOwnOfflinePage(browsers_[browser].address)) return true;
    Warn(LogArea::Stage, "the offline page cannot be shown (", reason,
         "); the program's own stands in");
    failing_.insert(show_.presentation.OfflinePage);
    SendAddress(browser, OwnOfflineAddress());
    return true;
}

void Player::FollowOfflineReason() {
    const int shown = browsers_.Current();
    if (!IsOwnOfflinePage(browsers_[shown].address) || offline_.why == OfflineReasonShown()) return;
    offline_.why = !offline_.why;
    SendAddress(shown, OwnOfflineAddress());
}

}  // namespace pagelark

#include "core/player.h"

#include "core/address_check.h"
#include "core/locked.h"
#include "model/presentation.h"
#include "platform/log.h"
#include "settings/settings.h"

namespace pagelark {

namespace {

bool ValidBrowser(int browser) {
    return browser >= 0 && browser < kBrowserCount;
}

}  // namespace

// ---- browser events ----

bool Player::CheckNavigation(int browser, const std::string& address, bool topLevel) {
    const bool cancel =
        NavigationBlocked(c_.presentation, address, c_.helpFolder) ||
        (c_.machine.Locked && LockedRefuses(c_.presentation, address, c_.helpFolder, topLevel));
    if (cancel) Log(LogArea::Stage, "navigation refused in browser ", browser, ": ", address);
    if (!ValidBrowser(browser)) return cancel;
    // Only the page on show: the preloading browser is visible too, behind it.
    if (!cancel && topLevel && browser == currentBrowser_ && c_.stage.BrowserVisible(browser))
        c_.toolbars.SetAddress(address);
    if (CountsAsActivity(navigationMode_, address, browsers_[browser].address,
                         c_.machine.SpecialURL))
        lastActivityTime_ = Now();
    return cancel;
}

void Player::DocumentComplete(int browser) {
    if (!ValidBrowser(browser)) return;
    loadFailed_[browser] = false;
    failing_.erase(browsers_[browser].address);
    if (browser == nextBrowser_) browsers_[browser].loaded = true;
}

void Player::LoadFailed(int browser) {
    if (!ValidBrowser(browser)) return;
    loadFailed_[browser] = true;
    // A preload whose renderer died after it completed has nothing left to show.
    browsers_[browser].loaded = false;
}

void Player::WindowResized() {
    if (browsersReady_) c_.stage.LayoutBrowsers();
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
    // Its page was loaded while it was behind, so the address box has not seen it.
    c_.toolbars.SetAddress(c_.stage.LocationURL(browser));
    Log(LogArea::Player, "on show in browser ", browser, ": ", browsers_[browser].address);
    if (c_.stage.OwnWindowActive()) c_.stage.Focus(browser);
    browsers_[browser].startTime = Now();
}

}  // namespace pagelark

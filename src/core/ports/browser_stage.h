#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

#include <chrono>
#include <string>

#include "model/modes.h"

namespace pagelark {

// The main window and its three stacked browsers, numbered 0 to 2. Every call is made with
// errors ignored: an implementation swallows what its engine reports.
class BrowserStage {
  public:
    virtual ~BrowserStage() = default;
    // Unless keepHistory (a visitor's own load in navigation mode), once the load ends Back and
    // Forward reach nothing the browser held before it.
    virtual void Navigate(int browser, const std::string& address, bool keepHistory) = 0;
    // The percent the browser lays out the pages it is next sent (100: as they are).
    virtual void SetZoom(int browser, int percent) = 0;
    virtual void Stop(int browser) = 0;
    virtual void GoBack(int browser) = 0;
    virtual void GoForward(int browser) = 0;
    virtual void Reload(int browser) = 0;
    virtual bool Offline(int browser) const = 0;
    virtual void SetOffline(int browser, bool offline) = 0;
    virtual bool Silent(int browser) const = 0;
    virtual void SetSilent(int browser, bool silent) = 0;
    virtual bool BrowserVisible(int browser) const = 0;
    virtual std::string LocationURL(int browser) const = 0;
    virtual void BringToFront(int browser) = 0;
    // The main window or a tool bar is the active window of the program.
    virtual bool OwnWindowActive() const = 0;
    virtual void Focus(int browser) = 0;
    // Caption and frame on or off, then the window centred on the screen.
    virtual void SetWindowFrame(bool show) = 0;
    virtual void SetWindowState(WindowState state) = 0;
    virtual void LayoutBrowsers() = 0;
    // A visitor browses while on; only then may a page's text field bring up the on-screen
    // keyboard, never over the show.
    virtual void SetNavigationMode(bool on) = 0;
    // Nothing of the pages loaded so far may reach a later one: every browser moves to a
    // fresh profile, the one on show only when it is next sent an address, and the old
    // profile goes with its last page.
    virtual void ForgetVisitor() = 0;
    // A fresh page takes the place of a browser not on show; its renderer goes with the old
    // page, and the memory it held with it.
    virtual void Renew(int browser) = 0;
    // The page on show moves smoothly towards its foot, at pixelsPerSecond or, with 0, so as
    // to reach it as timeLeft ends, and stops there; a page no longer than the window stays.
    virtual void Scroll(int browser, int pixelsPerSecond, std::chrono::seconds timeLeft) = 0;
    // It stops where it is; toTop: and goes back to its top, out of sight.
    virtual void StopScroll(int browser, bool toTop) = 0;
    // A line over the page on show, never taking focus or input; "" takes it away.
    virtual void ShowNotice(const std::string& text) = 0;
    // Closes every window in order; the program then ends.
    virtual void UnloadAll() = 0;
};

}  // namespace pagelark

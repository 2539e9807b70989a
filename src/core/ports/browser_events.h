#pragma once
// An inward port of the player: what the windows may ask of it; the player implements it, so no
// window knows the player itself.

#include <string>

namespace pagelark {

// What the browsers report.
class BrowserEvents {
  public:
    virtual ~BrowserEvents() = default;
    // Before every navigation; true when it must be cancelled.
    virtual bool CheckNavigation(int browser, const std::string& address, bool topLevel) = 0;
    // The top-level document of that browser completed.
    virtual void DocumentComplete(int browser) = 0;
    // A load ended in failure, or the renderer died: the next time the browser is sent the
    // same address it loads it again instead of keeping its error page. reason is the
    // engine's, in a few words; errorPage: the engine's error page took the page's place.
    virtual void LoadFailed(int browser, const std::string& reason, bool errorPage) = 0;
    // The browser's top-level address changed: a load, a redirect, a link, a script.
    virtual void LocationChanged(int browser, const std::string& address) = 0;
    // Its top-level page moved on other than by the program's load: a navigation, a new entry
    // in its history (a fragment, a script's pushState, a form sent to the same address).
    // byVisitor: a link clicked, a form sent, Back or Forward.
    virtual void PageMoved(int browser, bool byVisitor) = 0;
    // The address check refused a link the visitor clicked on that browser's page.
    virtual void VisitorRefused(int browser) = 0;
    virtual void WindowResized() = 0;
};

}  // namespace pagelark

#pragma once
// A page's script makes no window by itself: each window the engine made held memory in the
// page's renderer (hundreds of MiB for a page opening windows on a timer), though the kiosk
// never showed it.

class QWebEnginePage;

namespace pagelark {

// Unless the visitor has just clicked or typed in it, window.open (and document.open with
// three arguments, the same call) answers null in every document the page and its frames
// load, and in every frame's document of the same origin that no script ran in (its first,
// empty document; about:blank) as soon as the page can reach it, before the engine makes
// anything; a form a script sends to a new window (submit, requestSubmit, a click on its
// button) is not sent, and a link (HTML or SVG) a script clicks is not followed to one,
// whether the click (click() or a dispatched click event) lands on the link or on what it
// holds, inside a shadow root (closed ones too) or on a link never added to the page. A
// shadow root the page's markup declares gets no listener: there only the calls are checked,
// and the engine refuses the rest. A frame is answered as soon as its element is inserted (or
// document.write that wrote it returns), so its first document's open cannot be kept by index
// or name; each insertion of an element costs a few microseconds more. A frame of another
// origin is taken to hold only the name its frame element carries: a link or form a script
// sends to a name that frame gave itself is not followed. What a visitor opens still reaches
// the page's new-window request.
void RefuseWindowsWithoutClick(QWebEnginePage& page);

}  // namespace pagelark

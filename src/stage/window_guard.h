#pragma once
// A page's script makes no window by itself: each one the engine made lived in the page's
// renderer (tens of MiB a second from a page opening windows on a timer) even though the
// kiosk never showed it.

class QWebEnginePage;

namespace pagelark {

// Without a visitor's click or key just before, window.open answers null in every frame of
// the page, before the engine makes anything, and the engine refuses the windows a script
// opens by other ways (a link or form with a target clicked or submitted by script). What a
// visitor opens still reaches the page's new-window request.
void RefuseWindowsWithoutClick(QWebEnginePage& page);

}  // namespace pagelark

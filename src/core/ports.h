#pragma once
// The player's boundary. Outward, what it needs from the world around it: the Qt windows
// implement these and tests use fakes. Inward, what the windows may ask of it: the player
// implements those, so no window needs to know the player itself.

#include <string>

#include "document/modes.h"

namespace pagelark {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

inline constexpr int kBrowserCount = 3;

// The main window and its three stacked browsers, numbered 0 to 2. Every call is made with
// errors ignored: an implementation swallows what its engine reports.
class BrowserStage {
  public:
    virtual ~BrowserStage() = default;
    virtual void Navigate(int browser, const std::string& address) = 0;
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
    // Closes every window in order; the program then ends.
    virtual void UnloadAll() = 0;
};

// The pointer and the cursor's display counter (shown while the counter is 0 or more).
class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual ScreenPoint CursorPosition() const = 0;
    // One show (true) or hide (false) request; returns the counter afterwards.
    virtual int ShowCursor(bool show) = 0;
};

// The two tool bar windows and the help tip.
class Toolbars {
  public:
    virtual ~Toolbars() = default;
    virtual void ShowToolRun(bool visible) = 0;
    virtual void ShowToolNav(bool visible) = 0;
    // The visible buttons as the last layout counted them: edits count once saved.
    virtual int ToolRunVisibleCount() const = 0;
    virtual int ToolNavVisibleCount() const = 0;
    virtual void MakeToolRunTopmost() = 0;
    virtual void MakeToolNavTopmost() = 0;
    virtual void MakeToolbarsTopmost() = 0;
    virtual void HideHelpTip() = 0;
    // Hides the help tip when the pointer lies outside the tool bar of the current mode.
    virtual void CheckHelpTip(ScreenPoint pointer, bool navigationMode) = 0;
    // The address box of the navigation tool bar.
    virtual void SetAddress(const std::string& address) = 0;
};

// The configuration window: opened modeless; it reports its closing to the player.
class ConfigWindow {
  public:
    virtual ~ConfigWindow() = default;
    virtual void Open() = 0;
};

// The daily reboot: the platform's own preparations, then the reboot request; true when the
// system accepted it.
class Maintenance {
  public:
    virtual ~Maintenance() = default;
    virtual bool RebootSequence(bool autoLogin, bool force) = 0;
};

// Page snapshots; true when the snapshot run is complete, or has failed, and the program
// should end. pageOnShowTaken: the page on show stayed for a page that failed to load and is
// already taken; the number goes to the failed page, with no picture.
class Snapshots {
  public:
    virtual ~Snapshots() = default;
    virtual bool TakeSnapshot(bool pageOnShowTaken) = 0;
};

// Whether the system reports a working network connection.
class Connectivity {
  public:
    virtual ~Connectivity() = default;
    virtual bool IsConnected() const = 0;
};

// Starts another program, minimised and with the focus (the diagnostic key).
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;
    virtual void StartMinimized(const std::string& program) = 0;
};

// ---- inward: what the windows ask of the player ----

// Keys that mean something to the player, numbered as the Windows version's key events
// numbered them; every other key is Other and only counts as activity.
enum class KeyCode : int { Other = 0, Escape = 27, F1 = 112, F4 = 115, F10 = 121 };
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// The commands of the tool bars, the keys and the pointer.
class PlayerCommands {
  public:
    virtual ~PlayerCommands() = default;
    virtual void CmdPlay() = 0;
    virtual void CmdPause() = 0;
    virtual void CmdPrevious() = 0;
    virtual void CmdNext() = 0;
    virtual void CmdQuit() = 0;
    virtual void CmdConfig() = 0;
    virtual void CmdHelp() = 0;
    virtual void CmdBack() = 0;
    virtual void CmdForward() = 0;
    virtual void CmdStop() = 0;
    virtual void CmdReload() = 0;
    virtual void GoHome() = 0;
    virtual void SwitchToNavigation() = 0;
    // An address the visitor typed, unchanged.
    virtual void BrowseAddress(const std::string& address) = 0;
    // shift is a combination of the masks above.
    virtual void HandleKey(KeyCode key, int shift) = 0;
    // The pointer moved over one of the program's own windows.
    virtual void NoteActivity() = 0;
    // A close from outside is refused unless a Quit button is visible.
    virtual bool QuitAllowed() const = 0;
    // The program is ending, so its windows may close.
    virtual bool Finishing() const = 0;
};

// What the browsers report.
class BrowserEvents {
  public:
    virtual ~BrowserEvents() = default;
    // Before every navigation; true when it must be cancelled.
    virtual bool CheckNavigation(int browser, const std::string& address, bool topLevel) = 0;
    // The top-level document of that browser completed.
    virtual void DocumentComplete(int browser) = 0;
    // A load ended in failure, or the renderer died: the next time the browser is sent the
    // same address it loads it again instead of keeping its error page.
    virtual void LoadFailed(int browser) = 0;
    virtual void WindowResized() = 0;
};

// What the configuration window asks of the player and the stage.
class ConfigEvents {
  public:
    virtual ~ConfigEvents() = default;
    // The window was filled; the operator needs the cursor.
    virtual void ConfigShown() = 0;
    // The address of the page on show; "" when it cannot be read.
    virtual std::string CurrentLocation() const = 0;
    // Shows address in the browser on show; an address it already holds is not reloaded.
    virtual void ShowInStage(const std::string& address) = 0;
    // The window closed; ok when its changes were accepted and saved.
    virtual void ConfigClosed(bool ok) = 0;
};

}  // namespace pagelark

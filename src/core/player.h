#pragma once
// The player: the state machine stepped by the 200 ms timer, page sequencing with preload,
// the two modes, the keys and the address check. It reads the clock and drives the ports; the
// rules it follows (the browsers' turns, the page timer, the idle watch) are values of their own.
// Plain C++; everything outside reaches it through the ports.

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/browser_rotation.h"
#include "core/clock_alignment.h"
#include "core/idle_watch.h"
#include "core/page_schedule.h"
#include "core/page_timer.h"
#include "core/player_state.h"
#include "core/ports/browser_events.h"
#include "core/ports/browser_stage.h"
#include "core/ports/config_events.h"
#include "core/ports/config_window_port.h"
#include "core/ports/connectivity.h"
#include "core/ports/debug_settings.h"
#include "core/ports/desktop.h"
#include "core/ports/display_power.h"
#include "core/ports/maintenance.h"
#include "core/ports/play_record.h"
#include "core/ports/player_commands.h"
#include "core/ports/player_windows.h"
#include "core/ports/presentation_updates.h"
#include "core/ports/program_launcher.h"
#include "core/ports/snapshots_port.h"
#include "core/ports/toolbars.h"
#include "core/screen_schedule.h"
#include "core/welcome_lines.h"
#include "help/help_paths.h"

namespace pagelark {

class Clock;
struct PageEntry;

// The state's stored word: "INIT", "NAVIGATE", ...
const char* StateWord(PlayerState state);
// The show's state as the remote services report it: "starting" (until the first page came on
// show), "playing", "paused", "navigation", "dark" (the screen is off and nothing plays),
// "offline" (no page of the show can be loaded: the offline page stands in), "problem" (the
// show has no pages: its start page, the problem page or a published show's welcome, stands
// in), "config" or "ending".
class Player;
const char* RemoteStateWord(const Player& player, bool started);

// What the player reads and drives; every reference outlives the player. What it plays is its
// own (a Show), changed only through PresentationUpdates.
struct PlayerContext {
    const DebugSettings& debug;
    const HelpDocumentList& helpDocuments;
    std::string helpFolder;  // expanded help folder path, no trailing separator
    bool configCommandLine = false;
    const Clock& clock;
    Desktop& desktop;
    Maintenance& maintenance;
    Snapshots& snapshots;
    Connectivity& connectivity;
    ProgramLauncher& launcher;
    // None: a display that cannot sleep, black while dark.
    DisplayPower* displayPower = nullptr;
    // Told of each page shown while the show's PlayLog is on; none: nothing is recorded.
    PlayLog* playLog = nullptr;
    // A first start: the welcome stays to be read until a visitor's input, or kWelcomeTime.
    bool welcome = false;
};

inline constexpr std::chrono::seconds kWelcomeTime{60};

class Player final : public PlayerCommands,
                     public BrowserEvents,
                     public ConfigEvents,
                     public PresentationUpdates {
  public:
    // The windows are built here, through windows, with this player as their inward ports.
    Player(PlayerContext context, Show show, WindowBuilder& windows);

    // Start-up: the three browsers primed with the start page.
    void InitBrowsers();
    // The start page became another (the problem page came or went): browsers holding the old
    // one load the new one, the one on show too.
    void StartPageMoved(const std::string& was);
    // The 200 ms timer: the mouse part, then one state step unless one is still running.
    void Tick();
    // After the tool bars were laid out, at start and after every save: Tool Run and the
    // cursor in play, or no cursor at all.
    void ToolbarsLaidOut();
    void ShowCursor();
    // The operator's requests, which a locked kiosk still meets: the end (a stop signal) and
    // the configuration window (`pagelark CONFIG` started while the kiosk runs).
    void Terminate();
    // False before the show began and once it is ending.
    bool OpenConfig();

    // PlayerCommands: each command's rule, when it is refused and why, is written once, in
    // Refusal(); the screen's commands and the remote services' alike come through Run.
    Result<> Run(const CommandCall& request) override;
    void HandleKey(KeyCode key, int shift) override;
    void NoteActivity() override;
    void NoteTouch() override;
    bool QuitAllowed() const override;
    bool Finishing() const override { return state_ == PlayerState::FinProg; }

    // BrowserEvents
    bool CheckNavigation(int browser, const std::string& address, bool topLevel) override;
    void DocumentComplete(int browser) override;
    void LoadFailed(int browser, const std::string& reason, bool errorPage) override;
    void LocationChanged(int browser, const std::string& address) override;
    void PageMoved(int browser, bool byVisitor) override;
    void VisitorRefused(int browser) override;
    void WindowResized() override;

    // ConfigEvents
    void ConfigShown() override;
    std::string CurrentLocation() const override;
    void ShowInStage(const std::string& address) override;
    void ConfigClosed(bool ok) override;

    // The position of the page on show (0: the start page) and the address its browser shows
    // (where a redirect or a link took it), clipped as the log clips addresses.
    int PageOnShow() const { return pageOnShow_; }
    std::string AddressOnShow() const;
    // The last address that failed to load, until it or another loads; clipped too.
    std::string LastLoadFailure() const;
    // The offline page is on show: no page of the show could be loaded.
    // The show has no pages and browser holds its start page, which stands in for it.
    bool StartPageAlone(int browser) const;
    bool OfflineOnShow() const;
    // How a visitor reaches the tool bar, the help and the configuration window now.
    ReachFacts Reach() const;
    // False while the display sleeps; before the first tick, what the hours say, so that a
    // kiosk started at night never reports a lit screen.
    bool ScreenIsOn() const { return screenFollowed_ ? !dark_ : screen_.HoursSayOn(Now()); }
    // Paused, also while the screen lit again brings the first due page back before the pause.
    bool Paused() const { return state_ == PlayerState::WaitSaver || pausedInDark_; }
    // A visitor's key, click or touch: true when it woke the dark screen and must reach no page.
    bool TakeWakingInput() override;

    // In a clock-aligned show, how long until the page on show gives way: the kiosk wakes the
    // player then rather than at its next tick. None while nothing waits for the clock.
    std::optional<double> SecondsToAlignedChange() const;

    // PresentationUpdates
    void TakeShow(Show show, ShowChange change) override;
    // What plays now: the presentation, the machine settings and tool bar buttons in force,
    // and its file.
    const Show& Playing() const { return show_; }

    // Read-only views for tests.
    PlayerState State() const { return state_; }
    bool NavigationMode() const { return navigationMode_; }
    int CurrentBrowser() const { return browsers_.Current(); }
    int NextBrowser() const { return browsers_.Next(); }
    // The kiosk is over its memory ceiling: at the next page change the browsers not on show
    // start afresh before the next page preloads.
    void RenewSpareBrowsers() { renewDue_ = true; }
    int SpareBrowser() const { return browsers_.Spare(); }
    const BrowserRotation::Record& Browser(int browser) const { return browsers_[browser]; }
    double LastActivityTime() const { return idle_.LastActivity(); }
    double SaverModeStartTime() const { return idle_.SaverModeStart(); }

  private:
    // Why request is not carried out now; a command of the screen is refused silently.
    Result<> Refusal(const CommandCall& request) const;
    void Resume();
    void GoHome();
    void SwitchToNavigation();
    void OpenHelp();
    Result<> AddressRefusal(const std::string& address) const;
    // An address a remote service asked for loads out of sight.
    void LoadAddressToShow(const std::string& address, CommandAnswer answer);
    double Now() const;
    PageEntry StartPage() const;
    void SetState(PlayerState state);
    void StateStep();
    void MousePart();
    void StepInit();
    void FollowWelcome();
    void ReadyBrowsers();
    void StepNavigate();
    void StepWaitTime();
    void StepWaitSaver();
    void StepConfig();
    // Records address as sent to browser and navigates it, offline and silent as needed.
    // keepHistory: a visitor's own load, from which Back returns to the show's page. Only the
    // show's pages are laid out at a zoom: the program's own, a visitor's and a remote
    // service's at 100 %.
    void SendAddress(int browser, const std::string& address, bool keepHistory = false,
                     std::int32_t zoom = kPlainZoom);
    // The browser's page loads again, at its zoom.
    void SendAgain(int browser);
    // Before the user browses: offline as the connection says, dialogs no longer suppressed.
    void PrepareBrowsersForUser();
    void BrowseTo(int browser, const std::string& address, std::chrono::seconds time,
                  bool keepHistory = false, std::int32_t zoom = kPlainZoom);
    // The page of the counter into the preloading browser.
    void PreloadCurrentPage();
    // A clock-aligned show (player_aligned.cpp); instants in seconds since 1970 in UTC.
    double AlignedNow() const;
    std::optional<AlignedShowing> AlignedShowingAt(double at) const;
    // The counter on the page the clock has next: false when the clock does not choose it.
    bool AlignCounter();
    // When the page on show gives way; none when the clock does not decide it.
    std::optional<PageTimer::Turn> AlignedTurn(const BrowserRotation::Record& preload);
    // The preload is for another moment: true when the page due now is sent in its place or
    // the page on show stays.
    bool AlignedPreloadWaits();
    void AlignedCameOnShow();
    // The screen's hours at this tick; false while dark, when nothing of the show steps.
    bool FollowScreen();
    void DarkenScreen();
    void LightScreen();
    void FollowClock();
    // ---- pages for a time of day (player_schedule.cpp) ----
    // Each page's time and hours, and the screen's hours, read afresh whenever the show changes.
    void ReadShowTimes();
    bool Due(std::int32_t position) const;
    bool AnyPageDue() const;
    // The counter moves by delta past pages out of their hours; false, with the counter
    // unmoved, when no page of the presentation is due.
    bool PassOverPagesNotDue(int delta = +1);
    // With no page due the idle page preloads in place of one: true then.
    bool PreloadIdlePage();
    // The preload's hours ended, or a page's began, before it came on show: what is due now
    // preloads in its place.
    bool PreloadOutOfHours();
    // The idle page on show looks for a page come due as each minute begins.
    bool LookForDuePage(double now);
    // A page kept on show until a command moves on (time 0) whose hours ended, looked at as
    // each minute begins: its time is over.
    bool HeldPastItsHours(double now);
    // ---- no page of the show can be loaded (player_offline.cpp) ----
    // With every page failing in a row the offline page preloads in place of one: true then.
    bool PreloadOfflinePage();
    // The offline page on show: the show's pages are tried behind it, further apart each time;
    // true while it stays.
    bool KeepTryingShow(double now);
    void OfflineCameOnShow();
    // The program's own offline page on show says why only to those who may read it.
    void FollowOfflineReason();
    bool OwnOfflinePageInstead(int browser, const std::string& reason);
    bool OfflineReasonShown() const;
    std::string OfflineWhy() const;
    // The program's own offline page, with the reason while it may be read.
    std::string OwnOfflineAddress() const;
    // What a snapshot taken now is of.
    SnapshotOf SnapshotNow() const;
    // A page that failed to load was passed over at its turn.
    void NoteSkipped(const std::string& address);
    // The engine's error page took the place of the page on show.
    void ErrorPageOnShow(const std::string& reason);
    // One state step unless one is running; onToNextPage: and the page change it started, at
    // once instead of at the next tick.
    void RunStep(bool onToNextPage);
    // The preload cannot come on show as it is: true when it was passed over, or sent again
    // unless sentAgain (it just was).
    bool PreloadNotReady(bool sentAgain);
    void ShowBrowser(int browser);
    // ---- the play log (player_playlog.cpp) ----
    // The page that came on show is timed from now; the one before it gets its line.
    void PlayBegins();
    // The page on show left the show.
    void PlayEnds();
    // The preload at preloadPosition_ was passed over: a line of 0 seconds.
    void PlayPassedOver(const std::string& address);
    void PlayFailedOnShow();
    PlayRecord PlayRecordNow(std::int32_t position, const std::string& address) const;
    void AdvancePage(int delta);
    void EnterNavigationMode();
    void LeaveNavigationMode();
    // The show resumes after a visitor: nothing of theirs is kept for the next one.
    void ForgetVisitor();
    // An address a remote service asked for comes on show once loaded, or is refused.
    void SettleShownAddress();
    // At a page boundary: the offered presentation's first page preloads while the page on
    // show stays.
    void TakeOffer();
    void RecordMouse();
    void HideCursor();
    bool ToolRunShown() const;
    bool ToolNavShown() const;
    bool HelpAllowed() const;
    // The presentation's lists, and when locked its own pages, decide what a browser may show.
    bool Refuses(const std::string& address, bool topLevel) const;
    // A visitor's refused address: a notice over the page for a few seconds, and the address
    // box shows the page on show again instead of what was refused.
    void RefusedForVisitor();
    void FollowNotice();
    // ---- a long page moving on show (player_scroll.cpp) ----
    // The page come on show starts to move if its Scroll says so.
    void ScrollPageOnShow();
    // The page moving stops at the visitor's input, navigation mode, a pause, the dark screen
    // or a move elsewhere, and one that left the show goes back to its top.
    void FollowScroll();

    // What the player reads and drives, its windows too.
    struct Parts : PlayerContext, PlayerWindows {};
    Parts context_;
    Show show_;
    // Of show_'s pages, position k at k - 1 (ReadShowTimes): asked on every step.
    std::vector<std::chrono::seconds> pageTimes_;
    std::vector<PageSchedule> pageSchedules_;
    // The page counter: the position the next navigation step preloads.
    std::int32_t page_ = 1;
    // The reboot moment as handed over: a refused reboot moves the show's own a day on, and a
    // show taken with the same moment keeps the moved one.
    double handedRebootMoment_ = 0.0;
    PlayerState state_ = PlayerState::Init;
    bool stepBusy_ = false;
    bool navigationMode_ = false;
    bool browsersReady_ = false;
    bool renewDue_ = false;
    IdleWatch idle_;
    BrowserRotation browsers_;
    PageTimer timer_;
    // The page on show stays for a page that failed and has had its snapshot.
    bool pageOnShowTaken_ = false;
    // Addresses reported as failing, until they load; pages skipped since one came on show.
    std::set<std::string> failing_;
    std::int32_t skippedInRow_ = 0;
    // Since when the next page loads again after a visitor; the page on show waits for it.
    std::optional<double> freshPreloadSince_;
    // Since when the refused address's notice is on show.
    std::optional<double> noticeSince_;
    // Since when a page change waits for its preload to finish loading.
    std::optional<double> preloadAwaitedSince_;
    int preloadPosition_ = 0;
    int pageOnShow_ = 0;
    // The welcome of a first start holds its long time: until a visitor's input or a page of
    // the show comes on.
    bool welcomeHeld_ = false;
    // The idle page preloads, or is on show, for want of a page due.
    bool idlePreloaded_ = false;
    // The counter when the idle page came in: the pages come due are looked for from there.
    std::int32_t idleFrom_ = 1;
    bool idleOnShow_ = false;
    DueWatch dueWatch_;
    std::string lastLoadFailure_;
    // What the engine said of it.
    std::string lastLoadFailureReason_;
    // While the offline page stands in: when the show's page behind it was sent, when the
    // next try is due and the wait after it.
    struct OfflineSpell {
        bool said = false;
        bool why = false;  // the program's own page on show says why
        bool tryScheduled = false;
        double nextTry = 0.0;
        double wait = 0.0;
    } offline_;
    std::optional<Show> offered_;
    // An address a remote service asked for, loading in the spare browser; page changes wait.
    struct AddressToShow {
        std::string address;
        int browser = 0;
        double since = 0.0;
        CommandAnswer answer;
        bool loaded = false;
        std::optional<std::string> failure;
    };
    std::optional<AddressToShow> addressToShow_;
    // A clock-aligned show: where the page on show, the preload and a page passed over belong.
    std::optional<AlignedShowing> alignedOnShow_, alignedPreload_, alignedPassed_;
    // Its caller hears at the next step, once the page has reached the screen.
    CommandAnswer shownAnswer_;
    ScreenSchedule screen_;
    bool dark_ = false;
    // The show was paused when the screen went dark: lit again, it pauses on its first page.
    bool pausedInDark_ = false;
    bool screenFollowed_ = false;
    // The show's page on show, for the play log.
    std::optional<PlayRecord> playing_;
    // The browser whose page was told to move this turn, and the inputs seen until then.
    struct Scrolled {
        int browser = 0;
        unsigned inputs = 0;
        bool moving = true;
    };
    std::optional<Scrolled> scrolled_;
};

}  // namespace pagelark

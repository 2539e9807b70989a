#pragma once
// The main window: three browsers stacked exactly on top of each other over the whole
// screen.

#include <QDeadlineTimer>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/browser_events.h"
#include "core/ports/browser_stage.h"
#include "core/ports/player_commands.h"
#include "stage/restart_budget.h"

class QLabel;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

namespace pagelark {

class Clock;
class KeyboardPanel;
class KioskPage;

class StageWindow final : public QWidget, public BrowserStage {
    Q_OBJECT
  public:
    // events checks every navigation and hears of loads; commands decide a close from outside.
    StageWindow(const Clock& clock, BrowserEvents& events, PlayerCommands& commands,
                QWidget* parent = nullptr);
    ~StageWindow() override;

    // BrowserStage
    void Navigate(int browser, const std::string& address, bool keepHistory) override;
    void SetZoom(int browser, int percent) override;
    void Stop(int browser) override;
    void GoBack(int browser) override;
    void GoForward(int browser) override;
    void Reload(int browser) override;
    bool Offline(int browser) const override;
    void SetOffline(int browser, bool offline) override;
    bool Silent(int browser) const override;
    void SetSilent(int browser, bool silent) override;
    bool BrowserVisible(int browser) const override;
    std::string LocationURL(int browser) const override;
    void BringToFront(int browser) override;
    bool OwnWindowActive() const override;
    void Focus(int browser) override;
    void SetWindowFrame(bool show) override;
    void SetWindowState(WindowState state) override;
    void LayoutBrowsers() override;
    void SetNavigationMode(bool on) override;
    void UnloadAll() override;
    void ForgetVisitor() override;
    void Renew(int browser) override;
    void Scroll(int browser, int pixelsPerSecond, std::chrono::seconds timeLeft) override;
    void StopScroll(int browser, bool toTop) override;
    void ShowNotice(const std::string& text) override;

    // The address a browser is sent as, for what the program stores as a path or an address.
    static QUrl ToUrl(const std::string& address);
    // A child drawn over the browsers (a tool bar, the keyboard), kept above them and the
    // notice whenever a browser comes up; each added is kept above those added before.
    void AddOverlay(QWidget* overlay);
    // The on-screen keyboard drawn in the window, kept above every overlay; null without one.
    QWidget* Keys() const;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Browser {
        QWebEngineView* view = nullptr;
        KioskPage* page = nullptr;
        bool offline = false;
        QUrl requested;  // the address last sent
        RestartBudget restarts;
        bool painted = true;  // came on show since its page was made
        bool held = false;    // sent a page it has not started to load
        // The load under way: a report made later counts only while no other load began.
        unsigned load = 0;
        // The program's load runs; once it ends the history holds only its page.
        bool clearHistory = false;
        // Its history was cleared: a new entry is the page moving on.
        bool historyWatched = false;
        double zoom = 1.0;  // for the address last sent, on whichever page loads it
    };

    KioskPage* NewPage(int index);
    // Loads the browser's requested address; one it will not load is reported as failed.
    void Send(int index);
    void Watch(int index);
    // A load of that browser ended: ready to show, or failed with the engine's reason.
    void LoadEnded(int index, const QWebEngineLoadingInfo& info);
    // Reports that load of that browser complete once its page has painted, or by deadline.
    void ReportOncePainted(int index, unsigned load, QDeadlineTimer deadline);
    // A new page in the current profile, unless the page is in it already and not renewed.
    void MovePage(int index, bool renew = false);
    void ReleaseProfiles();
    // The page first on show has loaded, failed or taken too long: the others load and show.
    void EndStart();
    // Shown in its place in the stack, and the page it was sent while hidden loads.
    void Show(Browser& b);
    void CoverScreen();
    // An output was added or removed (removed), or its mode changed.
    void FollowOutputs(bool removed);
    // The on-screen keyboard came, went or moved: never over the show; while a visitor
    // types, the browsers end above it with the field being typed in on view.
    void KeyboardChanged();
    // The part of the window the keyboard leaves free.
    int FreeHeight() const;
    void PlaceNotice();
    void RaiseOverlays();

    const Clock& clock_;
    BrowserEvents& events_;
    PlayerCommands& commands_;
    QWebEngineProfile* profile_ = nullptr;
    std::vector<QWebEngineProfile*> retired_;  // still held by a page
    int front_ = 0;
    QLabel* notice_ = nullptr;  // over the browsers; never takes focus or a click
    // The on-screen keyboard, when drawn in the window.
    KeyboardPanel* keyboardPanel_ = nullptr;
    // Over the notice, lowest first.
    std::vector<QPointer<QWidget>> overlays_;
    std::array<Browser, kBrowserCount> browsers_;
    // Until the page first on show has loaded, it has the engine and the window to itself: on
    // a small machine the engine's start, three loads and three views' first showing would
    // otherwise share its cores. The views behind it stay hidden until then.
    bool starting_ = true;
    bool unloading_ = false;
    bool navigating_ = false;
    // Chosen before the application started.
    const bool onScreenKeyboard_ = qgetenv("QT_IM_MODULE") == "qtvirtualkeyboard";
    std::optional<WindowState> windowState_;  // as last asked for by the player
};

}  // namespace pagelark

#include "stage/stage_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QInputMethod>
#include <QLabel>
#include <QNativeGestureEvent>
#include <QScreen>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "model/address_scheme.h"
#include "platform/clock.h"
#include "qtshared/platform_name.h"
#include "stage/keyboard_panel.h"
#include "stage/kiosk_page.h"
#include "stage/output_watch.h"

namespace pagelark {

namespace {

constexpr std::chrono::milliseconds kFirstFrame{300};
// The engine holds a new page's picture back until its first text or image is painted, or for
// about half a second; a page of colours alone is taken as painted after this.
constexpr std::chrono::milliseconds kLongestPaintWait{1000};
constexpr std::chrono::milliseconds kPaintPoll{50};
// A first page that never finishes loading holds the others no longer than this.
constexpr std::chrono::seconds kLongestStart{5};

// The benchmarks time a page change from the moment its browser comes to the front to its
// pixels on the screen; PAGELARK_TRACE names the file they read the moments from.
void TraceBringToFront(int browser) {
    static const QByteArray path = qgetenv("PAGELARK_TRACE");
    if (path.isEmpty()) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (std::FILE* trace = std::fopen(path.constData(), "a")) {
        std::fprintf(trace, "front %d %lld\n", browser,
                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fclose(trace);
    }
}

// Why a load failed, as an operator reads it in a reply.
std::string LoadFailure(const QWebEngineLoadingInfo& info) {
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return "the server answered " + std::to_string(info.errorCode());
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) return "its load was stopped";
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus || info.errorString().isEmpty())
        return "the engine showed its error page";
    return info.errorString().toStdString();
}

}  // namespace

StageWindow::StageWindow(const Clock& clock, BrowserEvents& events, PlayerCommands& commands,
                         QWidget* parent)
    : QWidget(parent), clock_(clock), events_(events), commands_(commands) {
    setWindowTitle("Pagelark");
    setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    profile_ = CreateKioskProfile(this);
    for (int i = 0; i < kBrowserCount; ++i) {
        Browser& b = browsers_[static_cast<std::size_t>(i)];
        b.view = new QWebEngineView(this);
        b.view->setContextMenuPolicy(Qt::NoContextMenu);
        // A link or file dropped on a page would take it anywhere.
        b.view->setAcceptDrops(false);
        b.page = NewPage(i);
        b.view->setPage(b.page);
        b.view->hide();
        Watch(i);
    }
    notice_ = new QLabel(this);
    notice_->setObjectName("lblNotice");
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice_->setFocusPolicy(Qt::NoFocus);
    notice_->setStyleSheet(
        "QLabel { background: #303030; color: white; padding: 16px 28px; font-size: 20px; }");
    notice_->hide();
    // As the show starts, frameless over the whole screen, before its first showing: the first
    // page is laid out once, at its size, and a frame change does not map the window again.
    setWindowFlag(Qt::FramelessWindowHint);
    CoverScreen();
    LayoutBrowsers();
    WatchOutputs(this, [this](bool removed) { FollowOutputs(removed); });
    QTimer::singleShot(kLongestStart, this, &StageWindow::EndStart);
    qApp->installEventFilter(this);
    // Before the stage hears of the keyboard: the panel is in place when the stage reads it.
    if (KeyboardPanel::Wanted()) keyboardPanel_ = new KeyboardPanel(this);
    QInputMethod* keyboard = QGuiApplication::inputMethod();
    connect(keyboard, &QInputMethod::visibleChanged, this, &StageWindow::KeyboardChanged);
    connect(keyboard, &QInputMethod::keyboardRectangleChanged, this, &StageWindow::KeyboardChanged);
}

StageWindow::~StageWindow() {
    unloading_ = true;  // a page going answers its scripts' callbacks empty
    qApp->removeEventFilter(this);
    // The pages go before their profile.
    for (Browser& b : browsers_)
        delete b.view;
}

KioskPage* StageWindow::NewPage(int index) {
    return new KioskPage(
        profile_,
        [this, index](const QUrl& url, bool topLevel, KioskPage::Origin origin) {
            const bool allowed =
                !events_.CheckNavigation(index, url.toString().toStdString(), topLevel);
            if (allowed && topLevel && origin != KioskPage::Origin::Program)
                events_.PageMoved(index, origin == KioskPage::Origin::Visitor);
            if (!allowed && topLevel && origin == KioskPage::Origin::Visitor)
                events_.VisitorRefused(index);
            return allowed;
        },
        browsers_[static_cast<std::size_t>(index)].view);
}

void StageWindow::ForgetVisitor() {
    retired_.push_back(profile_);
    profile_ = CreateKioskProfile(this);
    // The browser on show keeps its page until it is sent another: no blank frame.
    for (int i = 0; i < kBrowserCount; ++i) {
        if (i != front_) MovePage(i);
    }
    ReleaseProfiles();
}

void StageWindow::Renew(int browser) {
    if (browser != front_) MovePage(browser, true);
}

void StageWindow::MovePage(int index, bool renew) {
    Browser& b = browsers_[static_cast<std::size_t>(index)];
    if (!renew && b.page->profile() == profile_) return;
    KioskPage* old = b.page;
    b.page = NewPage(index);
    ++b.load;
    b.painted = false;
    b.page->SetSilent(old->Silent());
    b.view->setPage(b.page);
    Watch(index);
    old->disconnect(this);
    old->action(QWebEnginePage::Back)->disconnect(this);
    old->deleteLater();
}

void StageWindow::ReleaseProfiles() {
    // Deleted after the pages let go above, which were queued for deletion first.
    std::erase_if(retired_, [this](QWebEngineProfile* profile) {
        for (const Browser& b : browsers_) {
            if (b.page->profile() == profile) return false;
        }
        profile->deleteLater();
        return true;
    });
}

void StageWindow::EndStart() {
    if (!starting_ || unloading_) return;
    starting_ = false;
    // Beneath the one on show.
    for (Browser& b : browsers_)
        Show(b);
}

void StageWindow::Show(Browser& b) {
    b.view->show();
    RaiseOverlays();
    if (b.held) Send(static_cast<int>(&b - browsers_.data()));
    b.held = false;
}

void StageWindow::Send(int index) {
    Browser& b = browsers_[static_cast<std::size_t>(index)];
    // The engine keeps a page's zoom from load to load; a page made since (a fresh profile, a
    // renewed page) starts at 1.
    b.page->setZoomFactor(b.zoom);
    if (b.page->Load(b.requested)) return;
    // The engine says nothing of an address it was not given: failed as any load, afterwards,
    // so the show passes it over (or puts the black page for an idle page) instead of waiting.
    const std::string address = b.requested.toString().toStdString();
    std::string why = WhyNotLoaded(address);
    if (why.empty()) why = "the address check refused it";
    QTimer::singleShot(0, b.page, [this, index, load = b.load, why = std::move(why)] {
        if (unloading_ || browsers_[static_cast<std::size_t>(index)].load != load) return;
        if (index == front_) EndStart();
        events_.LoadFailed(index, why, false);
    });
}

void StageWindow::Watch(int index) {
    Browser& b = browsers_[static_cast<std::size_t>(index)];
    connect(b.page, &QWebEnginePage::urlChanged, this, [this, index](const QUrl& url) {
        events_.LocationChanged(index, url.toString().toStdString());
    });
    // The engine asks nothing before a fragment, a script's pushState or some forms sent to
    // the page's own address, but each is a new entry in its history.
    connect(b.page->action(QWebEnginePage::Back), &QAction::enabledChanged, this,
            [this, index](bool enabled) {
                if (enabled && browsers_[static_cast<std::size_t>(index)].historyWatched)
                    events_.PageMoved(index, false);
            });
    // Rather than loadFinished, which comes first and has no reason for a failure.
    connect(b.page, &QWebEnginePage::loadingChanged, this,
            [this, index](const QWebEngineLoadingInfo& info) { LoadEnded(index, info); });
    connect(b.page, &QWebEnginePage::renderProcessTerminated, this,
            [this, index](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus || unloading_) return;
                if (index == front_) EndStart();
                Browser& crashed = browsers_[static_cast<std::size_t>(index)];
                events_.LoadFailed(index, "its renderer ended", false);
                if (crashed.restarts.TryRestart(clock_.Now())) {
                    // The address the program sent, not the engine's reload: after a crash
                    // the engine may reload an older entry of the page's history. Not from
                    // inside the engine's own notification.
                    QTimer::singleShot(
                        0, crashed.page,
                        [page = crashed.page, url = crashed.requested] { page->setUrl(url); });
                }
            });
}

void StageWindow::LoadEnded(int index, const QWebEngineLoadingInfo& info) {
    Browser& b = browsers_[static_cast<std::size_t>(index)];
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        ++b.load;
        return;
    }
    if (index == front_) EndStart();
    KioskPage* page = b.page;
    if (b.clearHistory) {
        // Back must not reach what the browser held before the program's load (the start
        // page, a page of an earlier turn), nor anything a visitor left there.
        b.clearHistory = false;
        page->history()->clear();
        b.historyWatched = true;
    }
    // The engine's own error page can report a successful load.
    const bool errorPage = info.isErrorPage() || page->url().scheme() == "chrome-error";
    if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus || errorPage) {
        events_.LoadFailed(index, LoadFailure(info), errorPage);
        return;
    }
    page->LogContents();
    if (!b.painted || index != front_) {
        // A page loaded out of sight may have no picture yet when it has loaded: raised at once,
        // it would show white, or the browser's last page, until its first frame.
        QTimer::singleShot(
            kFirstFrame, page,
            [this, index, load = b.load, deadline = QDeadlineTimer(kLongestPaintWait)] {
                ReportOncePainted(index, load, deadline);
            });
        return;
    }
    events_.DocumentComplete(index);
}

void StageWindow::ReportOncePainted(int index, unsigned load, QDeadlineTimer deadline) {
    // Not for the load the browser was sent since, nor for the page's own next one.
    Browser& b = browsers_[static_cast<std::size_t>(index)];
    if (unloading_ || b.load != load) return;
    if (deadline.hasExpired()) {
        events_.DocumentComplete(index);
        return;
    }
    // The engine lets the picture through at the page's first contentful paint.
    b.page->runJavaScript(
        QStringLiteral("performance.getEntriesByName('first-contentful-paint').length"),
        QWebEngineScript::ApplicationWorld, [this, index, load, deadline](const QVariant& paints) {
            Browser& painted = browsers_[static_cast<std::size_t>(index)];
            if (unloading_ || painted.load != load) return;
            if (paints.toInt() > 0) {
                events_.DocumentComplete(index);
                return;
            }
            QTimer::singleShot(kPaintPoll, painted.page, [this, index, load, deadline] {
                ReportOncePainted(index, load, deadline);
            });
        });
}

namespace {

// In the program's own world: the page's scripts neither see its state nor replace the calls
// it makes. Each frame moves the page from where this script last put it, so a layout that
// rounds the position does not hold it back; "instant" overrides a page's smooth scrolling.
constexpr const char* kScrollScript = R"(
(function (speed, seconds) {
  var own = window.__pagelarkScroll = window.__pagelarkScroll || {run: 0};
  var run = ++own.run, root = document.scrollingElement || document.documentElement;
  var foot = function () { return root.scrollHeight - root.clientHeight; };
  if (foot() <= 0) return;
  var y = window.scrollY, last = performance.now(), end = last + seconds * 1000;
  var step = function (now) {
    if (own.run !== run) return;
    var passed = Math.max(now - last, 0) / 1000, room = foot() - y;
    last = now;
    if (room <= 0) return;
    var pace = speed > 0 ? speed : room / Math.max((end - now) / 1000, passed, 0.001);
    y = Math.min(y + pace * passed, foot());
    window.scrollTo({left: window.scrollX, top: y, behavior: 'instant'});
    requestAnimationFrame(step);
  };
  requestAnimationFrame(step);
})(%1, %2))";

constexpr const char* kStopScrollScript = R"(
(function (toTop) {
  if (window.__pagelarkScroll) ++window.__pagelarkScroll.run;
  if (toTop) window.scrollTo({left: 0, top: 0, behavior: 'instant'});
})(%1))";

}  // namespace

void StageWindow::Scroll(int browser, int pixelsPerSecond, std::chrono::seconds timeLeft) {
    browsers_[static_cast<std::size_t>(browser)].page->runJavaScript(
        QString::fromLatin1(kScrollScript)
            .arg(pixelsPerSecond)
            .arg(static_cast<qlonglong>(timeLeft.count())),
        QWebEngineScript::ApplicationWorld);
}

void StageWindow::StopScroll(int browser, bool toTop) {
    browsers_[static_cast<std::size_t>(browser)].page->runJavaScript(
        QString::fromLatin1(kStopScrollScript).arg(toTop ? "true" : "false"),
        QWebEngineScript::ApplicationWorld);
}

QUrl StageWindow::ToUrl(const std::string& address) {
    const QString text = QString::fromStdString(address);
    if (text.startsWith('/')) {
        // A place in a page (pagelark.html#setup) when no file bears the whole name.
        const qsizetype hash = text.indexOf('#');
        if (hash > 0 && !QFileInfo::exists(text) && QFileInfo::exists(text.left(hash))) {
            QUrl file = QUrl::fromLocalFile(text.left(hash));
            file.setFragment(text.mid(hash + 1));
            return file;
        }
        return QUrl::fromLocalFile(text);
    }
    QUrl url(text, QUrl::TolerantMode);
    // An address without a scheme ("www.example.org") is a web address, as typed in a browser.
    if (url.scheme().isEmpty()) return QUrl::fromUserInput(text);
    return url;
}

void StageWindow::Navigate(int browser, const std::string& address, bool keepHistory) {
    MovePage(browser);
    ReleaseProfiles();
    Browser& b = browsers_[static_cast<std::size_t>(browser)];
    b.restarts.Reset();
    ++b.load;
    b.clearHistory = !keepHistory;
    b.historyWatched = false;
    b.requested = ToUrl(address);
    b.held = b.view->isHidden();
    if (!b.held) Send(browser);
}

void StageWindow::SetZoom(int browser, int percent) {
    browsers_[static_cast<std::size_t>(browser)].zoom = percent / 100.0;
}

void StageWindow::Stop(int browser) {
    browsers_[static_cast<std::size_t>(browser)].held = false;
    browsers_[static_cast<std::size_t>(browser)].page->triggerAction(QWebEnginePage::Stop);
}

void StageWindow::GoBack(int browser) {
    browsers_[static_cast<std::size_t>(browser)].page->triggerAction(QWebEnginePage::Back);
}

void StageWindow::GoForward(int browser) {
    browsers_[static_cast<std::size_t>(browser)].page->triggerAction(QWebEnginePage::Forward);
}

void StageWindow::Reload(int browser) {
    browsers_[static_cast<std::size_t>(browser)].page->triggerAction(QWebEnginePage::Reload);
}

// The engine has no offline switch: the state is kept so the player's logic holds.
bool StageWindow::Offline(int browser) const {
    return browsers_[static_cast<std::size_t>(browser)].offline;
}

void StageWindow::SetOffline(int browser, bool offline) {
    browsers_[static_cast<std::size_t>(browser)].offline = offline;
}

bool StageWindow::Silent(int browser) const {
    return browsers_[static_cast<std::size_t>(browser)].page->Silent();
}

void StageWindow::SetSilent(int browser, bool silent) {
    browsers_[static_cast<std::size_t>(browser)].page->SetSilent(silent);
}

bool StageWindow::BrowserVisible(int browser) const {
    return browsers_[static_cast<std::size_t>(browser)].view->isVisible();
}

std::string StageWindow::LocationURL(int browser) const {
    return browsers_[static_cast<std::size_t>(browser)].page->url().toString().toStdString();
}

void StageWindow::BringToFront(int browser) {
    // A dialog belongs to its page on show.
    for (int other = 0; other < kBrowserCount; ++other) {
        if (other != browser) browsers_[static_cast<std::size_t>(other)].page->DismissDialog();
    }
    Browser& b = browsers_[static_cast<std::size_t>(browser)];
    front_ = browser;
    Show(b);
    b.view->raise();
    RaiseOverlays();
    b.painted = true;
    TraceBringToFront(browser);
}

bool StageWindow::OwnWindowActive() const {
    return QApplication::activeWindow() != nullptr;
}

void StageWindow::Focus(int browser) {
    browsers_[static_cast<std::size_t>(browser)].view->setFocus();
}

void StageWindow::SetWindowFrame(bool show) {
    const bool frameless = windowFlags().testFlag(Qt::FramelessWindowHint);
    if (frameless == !show) return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::FramelessWindowHint, !show);
    if (wasVisible) this->show();  // changing the flags hides the window
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void StageWindow::CoverScreen() {
    // Without a window manager full screen and maximised mean nothing: size it ourselves.
    if (const QScreen* screen = this->screen()) setGeometry(screen->geometry());
}

void StageWindow::FollowOutputs(bool removed) {
    // Full screen again on the output the window is on now, at its size: a compositor may
    // have moved it off a removed output, or left it at an old mode's size.
    if (!windowState_) {
        CoverScreen();
    } else if (*windowState_ != WindowState::Normal && *windowState_ != WindowState::Minimized) {
        // An output gone, a Wayland compositor may keep the size it gave for the outputs there
        // were, and Qt asks for full screen only where it thinks the window is not: shown
        // afresh, the window is full screen on an output there is now. A mode change the
        // compositor follows by itself, as an X11 window manager does.
        if (removed && isFullScreen() && OnWayland()) {
            hide();
            show();
        }
        SetWindowState(*windowState_);
    }
}

void StageWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A window manager may offer to minimise the show, from its own menus or from the tool
    // bars it owns; only the player may.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && windowState_ &&
        *windowState_ != WindowState::Minimized && !unloading_)
        QTimer::singleShot(0, this, [this] { SetWindowState(*windowState_); });
}

void StageWindow::SetWindowState(WindowState state) {
    windowState_ = state;
    switch (state) {
        case WindowState::Normal:
            showNormal();
            break;
        case WindowState::Minimized:
            showMinimized();
            break;
        default:  // maximised, and any number a file may hold
            CoverScreen();
            showFullScreen();
            CoverScreen();
            break;
    }
}

void StageWindow::LayoutBrowsers() {
    // One pixel beyond every edge, so no frame of the page shows at the window's borders.
    const int height = FreeHeight();
    for (Browser& b : browsers_)
        b.view->setGeometry(-1, -1, width() + 3, height + 3);
    RaiseOverlays();
}

int StageWindow::FreeHeight() const {
    const QInputMethod* keyboard = QGuiApplication::inputMethod();
    if (!navigating_ || !keyboard->isVisible()) return height();
    const QRectF keys = keyboard->keyboardRectangle();
    // A keyboard window of its own is placed on the screen, which the stage covers.
    const int top = keyboardPanel_ != nullptr ? keyboardPanel_->TopInStage(keys)
                                              : mapFromGlobal(keys.topLeft().toPoint()).y();
    return std::clamp(top, 0, height());
}

void StageWindow::SetNavigationMode(bool on) {
    navigating_ = on;
    if (!on) QGuiApplication::inputMethod()->hide();
    LayoutBrowsers();
}

void StageWindow::KeyboardChanged() {
    QInputMethod* keyboard = QGuiApplication::inputMethod();
    const QWindow* focus = QGuiApplication::focusWindow();
    if (keyboard->isVisible() && !navigating_ && (!focus || focus == windowHandle())) {
        // Queued: a hide asked while the keyboard is still showing is undone by the rest of its
        // show, and its window would stay mapped over the show.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!navigating_) QGuiApplication::inputMethod()->hide();
            },
            Qt::QueuedConnection);
        return;
    }
    LayoutBrowsers();
    // A notice up as the keyboard comes or goes stays in sight.
    if (notice_->isVisible()) PlaceNotice();
    if (!navigating_ || !keyboard->isVisible()) return;
    // The page sees its new size only once the engine has laid it out again.
    QTimer::singleShot(150, this, [this] {
        browsers_[static_cast<std::size_t>(front_)].page->runJavaScript(
            "document.activeElement && document.activeElement.scrollIntoView({block: 'nearest'})",
            QWebEngineScript::ApplicationWorld);
    });
}

void StageWindow::ShowNotice(const std::string& text) {
    notice_->setText(QString::fromStdString(text));
    notice_->setVisible(!text.empty());
    if (text.empty()) return;
    notice_->adjustSize();
    PlaceNotice();
    RaiseOverlays();
}

void StageWindow::PlaceNotice() {
    // Low in the part the keyboard leaves free, clear of the middle a visitor looks at.
    notice_->move((width() - notice_->width()) / 2, FreeHeight() * 3 / 4 - notice_->height() / 2);
}

void StageWindow::AddOverlay(QWidget* overlay) {
    overlays_.emplace_back(overlay);
    RaiseOverlays();
}

QWidget* StageWindow::Keys() const {
    return keyboardPanel_;
}

void StageWindow::RaiseOverlays() {
    notice_->raise();
    for (QWidget* overlay : overlays_) {
        if (overlay != nullptr) overlay->raise();
    }
    // The keys stay above a tool bar a visitor dragged down to them.
    if (keyboardPanel_ != nullptr) keyboardPanel_->raise();
}

void StageWindow::UnloadAll() {
    unloading_ = true;
    close();
    QApplication::quit();
}

void StageWindow::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    // A close from outside (window manager, Alt+F4) ends the program the orderly way, and
    // only when a Quit button is visible.
    event->ignore();
    if (commands_.QuitAllowed()) commands_.RunFromScreen(Command::Quit);
}

void StageWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    events_.WindowResized();
}

bool StageWindow::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+wheel and a touchpad's pinch would zoom the page on show for every later visitor.
    const bool zoom =
        (event->type() == QEvent::Wheel &&
         static_cast<QWheelEvent*>(event)->modifiers().testFlag(Qt::ControlModifier)) ||
        (event->type() == QEvent::NativeGesture &&
         static_cast<QNativeGestureEvent*>(event)->gestureType() == Qt::ZoomNativeGesture);
    if (zoom && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
        return true;
    // Over the show a page's field takes no text entry, so the on-screen keyboard never comes
    // for it; a physical keyboard's input method (dead keys, compose) is left alone.
    if (onScreenKeyboard_ && !navigating_ && event->type() == QEvent::InputMethodQuery &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        if (query->queries().testFlag(Qt::ImEnabled)) {
            query->setValue(Qt::ImEnabled, false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pagelark

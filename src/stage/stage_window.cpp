#include "stage/stage_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>
#include <ctime>

#include "core/player.h"
#include "platform/clock.h"
#include "stage/kiosk_page.h"

namespace pagelark {

namespace {

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

}  // namespace

int KeyCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Escape:
            return kKeyEscape;
        case Qt::Key_F1:
            return kKeyF1;
        case Qt::Key_F4:
            return kKeyF4;
        case Qt::Key_F10:
            return kKeyF10;
        default:
            return 0;  // any other key still counts as activity
    }
}

int ShiftMaskOf(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= kShiftMask;
    if (modifiers & Qt::ControlModifier) mask |= kCtrlMask;
    if (modifiers & Qt::AltModifier) mask |= kAltMask;
    return mask;
}

StageWindow::StageWindow(const Clock& clock, QWidget* parent) : QWidget(parent), clock_(clock) {
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
        b.page = new KioskPage(
            profile_,
            [this, i](const QUrl& url, bool topLevel) {
                return player_ == nullptr ||
                       !player_->CheckNavigation(i, url.toString().toStdString(), topLevel);
            },
            b.view);
        b.view->setPage(b.page);
        Watch(i);
    }
    qApp->installEventFilter(this);
    timer_.setInterval(200);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (player_ != nullptr) player_->Tick();
    });
}

StageWindow::~StageWindow() {
    qApp->removeEventFilter(this);
    timer_.stop();
    // The pages go before their profile.
    for (Browser& b : browsers_)
        delete b.view;
}

void StageWindow::Attach(Player& player) {
    player_ = &player;
    timer_.start();
}

void StageWindow::Watch(int index) {
    Browser& b = browsers_[static_cast<std::size_t>(index)];
    connect(b.page, &QWebEnginePage::loadFinished, this, [this, index](bool ok) {
        if (player_ == nullptr) return;
        const QWebEnginePage* page = browsers_[static_cast<std::size_t>(index)].page;
        // The engine's own error page can report a successful load.
        if (ok && page->url().scheme() != "chrome-error") {
            player_->DocumentComplete(index);
        } else {
            player_->LoadFailed(index);
        }
    });
    connect(b.page, &QWebEnginePage::renderProcessTerminated, this,
            [this, index](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus || unloading_) return;
                Browser& crashed = browsers_[static_cast<std::size_t>(index)];
                if (player_ != nullptr) player_->LoadFailed(index);
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

QUrl StageWindow::ToUrl(const std::string& address) {
    const QString text = QString::fromStdString(address);
    if (text.startsWith('/')) return QUrl::fromLocalFile(text);
    const QUrl url(text, QUrl::TolerantMode);
    // An address without a scheme ("www.example.org") is a web address, as typed in a browser.
    if (url.scheme().isEmpty()) return QUrl::fromUserInput(text);
    return url;
}

void StageWindow::Navigate(int browser, const std::string& address) {
    Browser& b = browsers_[static_cast<std::size_t>(browser)];
    b.restarts.Reset();
    b.requested = ToUrl(address);
    b.page->setUrl(b.requested);
}

void StageWindow::Stop(int browser) {
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
    browsers_[static_cast<std::size_t>(browser)].view->raise();
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
    if (wasVisible) {
        this->show();  // changing the flags hides the window
        emit Reshown();
    }
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void StageWindow::CoverScreen() {
    // Without a window manager full screen and maximised mean nothing: size it ourselves.
    if (const QScreen* screen = this->screen()) setGeometry(screen->geometry());
}

void StageWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A window manager may offer to minimise the show, from its own menus or from the tool
    // bars it owns; only the player may.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && windowState_ != 1 &&
        windowState_ != -1 && !unloading_)
        QTimer::singleShot(0, this, [this] { SetWindowState(windowState_); });
}

void StageWindow::SetWindowState(int state) {
    windowState_ = state;
    switch (state) {
        case 0:
            showNormal();
            break;
        case 1:
            showMinimized();
            break;
        default:
            CoverScreen();
            showFullScreen();
            CoverScreen();
            break;
    }
}

void StageWindow::LayoutBrowsers() {
    // One pixel beyond every edge, so no frame of the page shows at the window's borders.
    for (Browser& b : browsers_)
        b.view->setGeometry(-1, -1, width() + 3, height() + 3);
}

void StageWindow::UnloadAll() {
    unloading_ = true;
    timer_.stop();
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
    if (player_ != nullptr && player_->QuitAllowed()) player_->CmdQuit();
}

void StageWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (player_ != nullptr) player_->WindowResized();
}

bool StageWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && player_ != nullptr && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QWidget* window = static_cast<QWidget*>(watched)->window();
        // The tool bar windows hand their keys to the player themselves.
        if (window == this && !(key->timestamp() == lastKeyTimestamp_ && key->key() == lastKey_)) {
            lastKeyTimestamp_ = key->timestamp();
            lastKey_ = key->key();
            player_->HandleKey(KeyCodeOf(key->key()), ShiftMaskOf(key->modifiers()));
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pagelark

#include "toolbars/qt_toolbars.h"

#include <QWindow>

// The pictures live in a static library: their registration must be pulled in by hand.
static void InitToolbarPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace pagelark {

QtToolbars::QtToolbars(const ToolbarButtons& buttons, PlayerCommands& commands,
                       const std::string& startupFolder, ToolbarOwners owners)
    : owner_(owners.owner), configWindow_(owners.configWindow) {
    InitToolbarPictures();
    helpTip_ = std::make_unique<HelpTipWindow>();
    toolNav_ = std::make_unique<ToolNavWindow>(*helpTip_, buttons, commands, startupFolder);
    toolRun_ = std::make_unique<ToolRunWindow>(*helpTip_, buttons, commands, startupFolder);
    toolNav_->LayOut(LayoutPass::First);
    toolRun_->LayOut(LayoutPass::First);
}

QtToolbars::~QtToolbars() = default;

bool QtToolbars::Owns(const QWidget* window) const {
    return window == toolNav_.get() || window == toolRun_.get();
}

bool QtToolbars::MoveIsActivity(const QWidget& receiver) const {
    const QWidget* window = receiver.window();
    return Owns(window) && static_cast<const ToolbarWindow*>(window)->MoveIsActivity(receiver);
}

void QtToolbars::Relayout() {
    toolNav_->LayOut(LayoutPass::Relayout);
    toolRun_->LayOut(LayoutPass::Relayout);
}

namespace {

// Set on every show: cheap, and still right if the owner's native window was made anew.
void ShowOwnedBy(QWidget& window, QWidget* owner, bool visible) {
    if (visible && owner != nullptr) {
        owner->winId();
        window.winId();
        window.windowHandle()->setTransientParent(owner->windowHandle());
    }
    window.setVisible(visible);
}

}  // namespace

void QtToolbars::ShowToolRun(bool visible) {
    ShowOwnedBy(*toolRun_, owner_, visible);
}

void QtToolbars::ShowToolNav(bool visible) {
    ShowOwnedBy(*toolNav_, owner_, visible);
}

void QtToolbars::ShowAgainOverOwner() {
    for (QWidget* window :
         {static_cast<QWidget*>(toolNav_.get()), static_cast<QWidget*>(toolRun_.get())}) {
        if (!window->isVisible()) continue;
        window->hide();
        ShowOwnedBy(*window, owner_, true);
    }
}

// The windows stay on top by their flags; raising puts them above our other topmost ones.
void QtToolbars::MakeToolRunTopmost() {
    if (toolRun_->isVisible()) toolRun_->raise();
}

void QtToolbars::MakeToolNavTopmost() {
    if (toolNav_->isVisible()) toolNav_->raise();
}

namespace {

void SetTopmost(QWidget& window, bool topmost) {
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != topmost) {
        // Changing a window's flags hides it.
        const bool shown = window.isVisible();
        window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        if (shown) window.show();
    }
    if (topmost && window.isVisible()) window.raise();
}

}  // namespace

void QtToolbars::MakeToolbarsTopmost() {
    MakeToolNavTopmost();
    MakeToolRunTopmost();
    if (configWindow_) SetTopmost(*configWindow_, true);
}

void QtToolbars::ReleaseConfigTopmost() {
    if (configWindow_) SetTopmost(*configWindow_, false);
}

void QtToolbars::InitHelpTip() {
    helpTip_->raise();
}

void QtToolbars::HideHelpTip() {
    helpTip_->HideHelpTip();
}

void QtToolbars::CheckHelpTip(ScreenPoint pointer, bool navigationMode) {
    if (HelpTipMustHide(helpTip_->isVisible(), navigationMode, OuterRect(*toolNav_),
                        OuterRect(*toolRun_), PixelPoint{pointer.x, pointer.y}))
        helpTip_->HideHelpTip();
}

void QtToolbars::SetAddress(const std::string& address) {
    toolNav_->SetAddress(address);
}

}  // namespace pagelark

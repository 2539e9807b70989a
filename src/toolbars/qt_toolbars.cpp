#include "toolbars/qt_toolbars.h"

// The pictures live in a static library: their registration must be pulled in by hand.
static void InitToolbarPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace pagelark {

QtToolbars::QtToolbars(const ToolbarButtons& buttons, PlayerCommands& commands,
                       const std::string& startupFolder, ToolbarOwners owners)
    : configWindow_(owners.configWindow), keys_(owners.keys) {
    InitToolbarPictures();
    helpTip_ = new HelpTipWindow(owners.owner);
    toolNav_ = new ToolNavWindow(*helpTip_, buttons, commands, startupFolder);
    toolRun_ = new ToolRunWindow(*helpTip_, buttons, commands, startupFolder);
    navFrame_ = new OverlayFrame(*toolNav_, kToolNavBorder, owners.owner, owners.keys);
    runFrame_ = new OverlayFrame(*toolRun_, kToolRunBorder, owners.owner, owners.keys);
    helpTip_->raise();
    LayOut(LayoutPass::First);
}

QtToolbars::~QtToolbars() {
    // Each frame takes its tool bar with it.
    delete navFrame_;
    delete runFrame_;
    delete helpTip_;
}

std::vector<QWidget*> QtToolbars::Overlays() const {
    return {navFrame_, runFrame_, helpTip_};
}

const ToolbarWindow* QtToolbars::ToolbarOf(const QWidget* widget) const {
    // Not into another window, such as the address box's menu.
    for (; widget != nullptr; widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        if (widget == toolNav_ || widget == toolRun_)
            return static_cast<const ToolbarWindow*>(widget);
    }
    return nullptr;
}

bool QtToolbars::Owns(const QWidget* widget) const {
    return ToolbarOf(widget) != nullptr;
}

bool QtToolbars::MoveIsActivity(const QWidget& receiver) const {
    const ToolbarWindow* toolbar = ToolbarOf(&receiver);
    return toolbar != nullptr && toolbar->MoveIsActivity(receiver);
}

void QtToolbars::LayOut(LayoutPass pass) {
    toolNav_->LayOut(pass);
    toolRun_->LayOut(pass);
    navFrame_->PlaceTopRight();
    runFrame_->PlaceTopRight();
}

void QtToolbars::Relayout() {
    LayOut(LayoutPass::Relayout);
}

void QtToolbars::ShowToolRun(bool visible) {
    runFrame_->setVisible(visible);
}

void QtToolbars::ShowToolNav(bool visible) {
    navFrame_->setVisible(visible);
}

namespace {

// Above the owner's browsers and its other overlays, under the help tip and the keys.
void Raise(QWidget& frame, QWidget& tip, QWidget* keys) {
    if (!frame.isVisible()) return;
    frame.raise();
    tip.raise();
    if (keys != nullptr) keys->raise();
}

}  // namespace

void QtToolbars::MakeToolRunTopmost() {
    Raise(*runFrame_, *helpTip_, keys_);
}

void QtToolbars::MakeToolNavTopmost() {
    Raise(*navFrame_, *helpTip_, keys_);
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
    if (keys_ != nullptr) keys_->raise();
}

void QtToolbars::HideHelpTip() {
    helpTip_->HideHelpTip();
}

void QtToolbars::CheckHelpTip(ScreenPoint pointer, bool navigationMode) {
    if (HelpTipMustHide(helpTip_->isVisible(), navigationMode, ScreenRect(*navFrame_),
                        ScreenRect(*runFrame_), PixelPoint{pointer.x, pointer.y}))
        helpTip_->HideHelpTip();
}

void QtToolbars::SetAddress(const std::string& address) {
    toolNav_->SetAddress(address);
}

}  // namespace pagelark

#include "toolbars/toolbar_windows.h"

#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>

#include "qtshared/designed_size.h"

namespace pagelark {

// ---- HelpTipWindow ----

HelpTipWindow::HelpTipWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setObjectName("frmHelpTip");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setPalette(QToolTip::palette());
    setAutoFillBackground(true);
    label_ = new QLabel(this);
    label_->setObjectName("lblHelpTip");
    label_->setFont(QToolTip::font());
    // The pointer over the label is the pointer over the tip.
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->move(1, 1);  // inside the one-pixel border
    setStyleSheet("#frmHelpTip { border: 1px solid palette(tooltip-text); }");
}

void HelpTipWindow::ShowHelpTip(const std::string& text) {
    const HelpTipRequest request = DecideHelpTip(text, currentTipText_, !label_->text().isEmpty());
    switch (request.action) {
        case HelpTipAction::Nothing:
            break;
        case HelpTipAction::Hide:
            hide();
            currentTipText_.clear();
            break;
        case HelpTipAction::Place:
            Place(request.tipText);
            break;
    }
}

void HelpTipWindow::Place(const std::string& tipText) {
    currentTipText_ = tipText;
    hide();
    label_->setText(QString::fromStdString(HelpTipLabelCaption(tipText)));
    label_->adjustSize();
    const QRect screenArea = ScreenOf(*this)->geometry();
    const QPoint pointer = QCursor::pos() - screenArea.topLeft();
    HelpTipPlacementInput input;
    input.pointer = {pointer.x(), pointer.y()};
    input.labelWidth = label_->width();
    input.labelHeight = label_->height();
    input.screenWidth = screenArea.width();
    input.screenHeight = screenArea.height();
    const PixelRect place = PlaceHelpTip(input);
    setGeometry(screenArea.x() + place.left, screenArea.y() + place.top, place.width, place.height);
    raise();
    show();
}

void HelpTipWindow::mouseMoveEvent(QMouseEvent* event) {
    HideHelpTip();
    event->accept();
}

}  // namespace pagelark

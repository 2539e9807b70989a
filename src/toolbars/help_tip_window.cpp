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
    switch (request.Action) {
        case HelpTipAction::Nothing:
            break;
        case HelpTipAction::Hide:
            hide();
            currentTipText_.clear();
            break;
        case HelpTipAction::Place:
            Place(request.TipText);
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
    input.Pointer = {pointer.x(), pointer.y()};
    input.LabelWidth = label_->width();
    input.LabelHeight = label_->height();
    input.ScreenWidth = screenArea.width();
    input.ScreenHeight = screenArea.height();
    const PixelRect place = PlaceHelpTip(input);
    setGeometry(screenArea.x() + place.Left, screenArea.y() + place.Top, place.Width, place.Height);
    raise();
    show();
}

void HelpTipWindow::mouseMoveEvent(QMouseEvent* event) {
    HideHelpTip();
    event->accept();
}

}  // namespace pagelark

#include "toolbars/toolbar_windows.h"

#include <QCursor>
#include <QLabel>
#include <QScreen>
#include <QToolTip>

#include "qtshared/designed_size.h"
#include "toolbars/overlay_frame.h"

namespace pagelark {

// ---- HelpTipWindow ----

HelpTipWindow::HelpTipWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("frmHelpTip");
    setFocusPolicy(Qt::NoFocus);
    // A click where the tip lies reaches the button under it; the tool bar's check hides the
    // tip once the pointer has left the bar.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setPalette(Standalone(QToolTip::palette()));
    setAutoFillBackground(true);
    label_ = new QLabel(this);
    label_->setObjectName("lblHelpTip");
    label_->setFont(QToolTip::font());
    label_->move(1, 1);
    hide();  // until a pointer rests on a button, not with the stage
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
    // Within the stage, which covers the screen.
    const QWidget* stage = parentWidget();
    const QRect area = stage != nullptr ? stage->rect() : ScreenOf(*this)->geometry();
    const QPoint pointer =
        stage != nullptr ? stage->mapFromGlobal(QCursor::pos()) : QCursor::pos() - area.topLeft();
    HelpTipPlacementInput input;
    input.pointer = {pointer.x(), pointer.y()};
    input.labelWidth = label_->width();
    input.labelHeight = label_->height();
    input.screenWidth = area.width();
    input.screenHeight = area.height();
    const PixelRect place = PlaceHelpTip(input);
    setGeometry(area.x() + place.left, area.y() + place.top, place.width, place.height);
    raise();
    show();
}

}  // namespace pagelark

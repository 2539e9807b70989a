#include "toolbars/overlay_frame.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "qtshared/designed_size.h"

namespace pagelark {

namespace {

const QString kCaption = QStringLiteral("Pagelark");

PixelRect ToPixels(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// The window's own pointer elsewhere, which a hidden pointer overrides.
void ShowDragCursor(QWidget& frame, FrameDrag drag) {
    switch (drag) {
        case FrameDrag::Left:
            frame.setCursor(Qt::SizeHorCursor);
            break;
        case FrameDrag::Bottom:
            frame.setCursor(Qt::SizeVerCursor);
            break;
        case FrameDrag::LeftBottom:
            frame.setCursor(Qt::SizeBDiagCursor);
            break;
        case FrameDrag::None:
        case FrameDrag::Move:
            frame.unsetCursor();
            break;
    }
}

}  // namespace

QPalette Standalone(QPalette palette) {
    palette.setResolveMask(~QPalette::ResolveMask{0});
    return palette;
}

OverlayFrame::OverlayFrame(QWidget& client, BorderStyle border, QWidget* parent, QWidget* keys)
    : QWidget(parent),
      client_(client),
      keys_(keys),
      sizable_(border == BorderStyle::Sizable || border == BorderStyle::SizableToolWindow),
      edge_(FormBorderWidth(border, kOverlayMetrics)),
      caption_(DesignedY(client, kDesignedCaptionHeight)) {
    setMouseTracking(true);
    // The application's colours for the frame and the tool bar, as a window of its own had,
    // not the stage's black.
    setPalette(Standalone(QApplication::palette()));
    setAutoFillBackground(true);
    captionFont_.setBold(true);
    captionFont_.setPixelSize(caption_ * 2 / 3);
    client_.setParent(this);
    client_.setAutoFillBackground(true);
    client_.move(edge_, edge_ + caption_);
    client_.show();
    client_.installEventFilter(this);
    if (parent != nullptr) parent->installEventFilter(this);
    if (keys != nullptr) keys->installEventFilter(this);
    hide();
    PlaceTopRight();
}

QMargins OverlayFrame::Margins() const {
    return {edge_, edge_ + caption_, edge_, edge_};
}

PixelSize OverlayFrame::Area() const {
    const QWidget* stage = parentWidget();
    if (stage == nullptr) return {width(), height()};
    const bool keys = keys_ != nullptr && !keys_->isHidden();
    return {stage->width(), keys ? std::clamp(keys_->y(), 0, stage->height()) : stage->height()};
}

void OverlayFrame::FitClient() {
    resize(client_.size().grownBy(Margins()));
    const PixelSize area = Area();
    PixelRect place = ToPixels(geometry());
    if (!moved_) place = {area.width - width(), 0, width(), height()};
    place = KeepInside(place, area);
    move(place.left, place.top);
}

void OverlayFrame::PlaceTopRight() {
    moved_ = false;
    FitClient();
}

bool OverlayFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == &client_ || watched == parentWidget()))
        FitClient();
    // The keys came or moved: a tool bar under them, the address box typed in, comes up.
    const QEvent::Type type = event->type();
    if (watched == keys_ &&
        (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
        FitClient();
    return QWidget::eventFilter(watched, event);
}

void OverlayFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A raised edge, as a tool window's, then the caption bar inside it.
    qDrawWinPanel(&painter, rect(), palette(), false);
    const QRect bar(edge_, edge_, width() - 2 * edge_, caption_);
    painter.fillRect(bar, palette().color(QPalette::Active, QPalette::Highlight));
    painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
    painter.setFont(captionFont_);
    const QRect text = bar.adjusted(3, 0, -3, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(captionFont_).elidedText(kCaption, Qt::ElideRight, text.width()));
}

FrameDrag OverlayFrame::DragAt(QPoint at) const {
    return FrameDragAt({width(), height()}, edge_, caption_, sizable_, at.x(), at.y());
}

void OverlayFrame::mousePressEvent(QMouseEvent* event) {
    drag_ =
        event->button() == Qt::LeftButton ? DragAt(event->position().toPoint()) : FrameDrag::None;
    dragFrom_ = event->globalPosition().toPoint();
    dragStart_ = ToPixels(geometry());
    event->accept();
}

void OverlayFrame::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == FrameDrag::None) {
        ShowDragCursor(*this, DragAt(event->position().toPoint()));
        event->accept();
        return;
    }
    const QPoint by = event->globalPosition().toPoint() - dragFrom_;
    const QMargins margins = Margins();
    const PixelSize minimum{margins.left() + margins.right() + kDefaultPicturePixels.width,
                            margins.top() + margins.bottom() + kDesignedRowHeight};
    const PixelRect to = DragFrame(dragStart_, drag_, by.x(), by.y(), minimum, Area());
    moved_ = true;
    move(to.left, to.top);
    if (drag_ != FrameDrag::Move) client_.resize(QSize(to.width, to.height).shrunkBy(margins));
    event->accept();
}

void OverlayFrame::mouseReleaseEvent(QMouseEvent* event) {
    drag_ = FrameDrag::None;
    event->accept();
}

}  // namespace pagelark

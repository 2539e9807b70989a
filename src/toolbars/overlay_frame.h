#pragma once
// A tool bar's frame inside the show's window, where no window manager draws one: its edges and
// caption bar, a move by the caption, a resize by the left and bottom edges of a sizable one,
// and its place in the window's top right corner, never outside the window nor under the keys
// of an on-screen keyboard drawn in it.

#include <QFont>
#include <QMargins>
#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include "toolbars/toolbar_layout.h"

namespace pagelark {

// The palette with every colour its own: a widget inside the stage takes none of the stage's.
QPalette Standalone(QPalette palette);

class OverlayFrame final : public QWidget {
    Q_OBJECT
  public:
    // Takes client in, and keeps itself the client's size plus the frame. While keys (a child
    // of parent along its bottom) show, the frame is kept above them.
    OverlayFrame(QWidget& client, BorderStyle border, QWidget* parent, QWidget* keys = nullptr);
    // Round the client as it is now, frame included in the corner: forgets where a visitor
    // moved it. A hidden client's new size reaches the frame only through this.
    void PlaceTopRight();
    QMargins Margins() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // Around the client as it is now, at the top right or where the visitor left it.
    void FitClient();
    // The parent above the keys while they show.
    PixelSize Area() const;
    FrameDrag DragAt(QPoint at) const;

    QWidget& client_;
    const QPointer<QWidget> keys_;
    const bool sizable_;
    const int edge_;
    const int caption_;
    QFont captionFont_;
    bool moved_ = false;  // by the visitor, since the last placing
    FrameDrag drag_ = FrameDrag::None;
    QPoint dragFrom_;
    PixelRect dragStart_;
};

}  // namespace pagelark

#pragma once
// Lengths the windows were designed with, in pixels at 96 dots per inch, on the screen a
// widget is on: the design grows with the screen's logical resolution, pictures keep their
// own size.

class QScreen;
class QWidget;

namespace pagelark {

// The screen a widget is on, else the primary screen.
const QScreen* ScreenOf(const QWidget& widget);

int DesignedX(const QWidget& widget, int pixels);
int DesignedY(const QWidget& widget, int pixels);

}  // namespace pagelark

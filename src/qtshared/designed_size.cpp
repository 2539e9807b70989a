#include "qtshared/designed_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace pagelark {
namespace {

constexpr double kDesignedDotsPerInch = 96.0;

int Designed(int pixels, double dpi) {
    if (dpi <= 0) dpi = kDesignedDotsPerInch;
    return static_cast<int>(std::lround(pixels * dpi / kDesignedDotsPerInch));
}

}  // namespace

const QScreen* ScreenOf(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

int DesignedX(const QWidget& widget, int pixels) {
    const QScreen* screen = ScreenOf(widget);
    return Designed(pixels, screen != nullptr ? screen->logicalDotsPerInchX() : 0);
}

int DesignedY(const QWidget& widget, int pixels) {
    const QScreen* screen = ScreenOf(widget);
    return Designed(pixels, screen != nullptr ? screen->logicalDotsPerInchY() : 0);
}

}  // namespace pagelark

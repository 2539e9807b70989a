#pragma once
// Which of Qt's platforms the program runs on, where the two differ in what a client may do.

#include <QGuiApplication>

namespace pagelark {

// Qt's platform is Wayland (its plugins are named wayland-egl, wayland-generic, ...).
inline bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace pagelark

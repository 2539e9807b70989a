#include "stage/output_watch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace pagelark {
namespace {

void WatchGeometry(QScreen* screen, QObject* receiver,
                   const std::function<void(bool removed)>& changed) {
    QObject::connect(
        screen, &QScreen::geometryChanged, receiver, [changed] { changed(false); },
        Qt::QueuedConnection);
}

}  // namespace

void WatchOutputs(QObject* receiver, const std::function<void(bool removed)>& changed) {
    for (QScreen* screen : QGuiApplication::screens())
        WatchGeometry(screen, receiver, changed);
    // Queued: Qt moves the windows off a removed screen only after it says so.
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, receiver,
                     [receiver, changed](QScreen* screen) {
                         WatchGeometry(screen, receiver, changed);
                         QTimer::singleShot(0, receiver, [changed] { changed(false); });
                     });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, receiver, [receiver, changed] {
        QTimer::singleShot(0, receiver, [changed] { changed(true); });
    });
}

}  // namespace pagelark

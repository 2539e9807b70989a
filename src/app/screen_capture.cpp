#include "app/screen_capture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace pagelark {

CaptureResult QtScreenCapture::CaptureScreenTo(const std::string& path) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return CaptureResult::CaptureFailed;
    // Window 0 is the whole screen, whatever windows lie on it.
    const QPixmap picture = screen->grabWindow(0);
    if (picture.isNull()) return CaptureResult::CaptureFailed;
    return picture.toImage().save(QString::fromStdString(path), "BMP") ? CaptureResult::Saved
                                                                       : CaptureResult::SaveFailed;
}

}  // namespace pagelark

#include "app/screen_capture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "platform/file_io.h"

namespace pagelark {

CaptureResult GrabScreen(const char* format, std::string& picture, std::string& error) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return CaptureResult::CaptureFailed;
    // Window 0 is the whole screen, whatever windows lie on it.
    const QPixmap grabbed = screen->grabWindow(0);
    if (grabbed.isNull()) return CaptureResult::CaptureFailed;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!grabbed.toImage().save(&buffer, format)) {
        error = "the picture could not be encoded";
        return CaptureResult::SaveFailed;
    }
    picture.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return CaptureResult::Saved;
}

CaptureResult QtScreenCapture::CaptureScreenTo(const std::string& path, std::string& error) {
    std::string picture;
    const CaptureResult grabbed = GrabScreen("BMP", picture, error);
    if (grabbed != CaptureResult::Saved) return grabbed;
    // Written whole or not at all, with the system's reason when it cannot be.
    return ReplaceFileAtomically(path, picture, error) ? CaptureResult::Saved
                                                       : CaptureResult::SaveFailed;
}

}  // namespace pagelark

#include "app/screen_capture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "platform/file_io.h"

namespace pagelark {

CaptureResult SaveScreen(const std::string& path, const char* format, std::string& error) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return CaptureResult::CaptureFailed;
    // Window 0 is the whole screen, whatever windows lie on it.
    const QPixmap picture = screen->grabWindow(0);
    if (picture.isNull()) return CaptureResult::CaptureFailed;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.toImage().save(&buffer, format)) {
        error = "the picture could not be encoded";
        return CaptureResult::SaveFailed;
    }
    // Written whole or not at all, with the system's reason when it cannot be.
    return ReplaceFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), error)
               ? CaptureResult::Saved
               : CaptureResult::SaveFailed;
}

}  // namespace pagelark

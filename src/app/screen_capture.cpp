#include "app/screen_capture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "platform/file_io.h"

namespace pagelark {

Result<std::optional<std::string>> GrabScreen(const char* format) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return std::optional<std::string>();
    // Window 0 is the whole screen, whatever windows lie on it.
    const QPixmap grabbed = screen->grabWindow(0);
    if (grabbed.isNull()) return std::optional<std::string>();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!grabbed.toImage().save(&buffer, format)) return Fail("the picture could not be encoded");
    return std::optional(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

Result<Capture> QtScreenCapture::CaptureScreenTo(const std::string& path) {
    const Result<std::optional<std::string>> grabbed = GrabScreen("BMP");
    if (!grabbed) return Fail(grabbed.Error());
    if (!grabbed.Value()) return Capture::CaptureFailed;
    // Written whole or not at all, with the system's reason when it cannot be.
    if (Result<> written = ReplaceFileAtomically(path, *grabbed.Value()); !written)
        return Fail(written.Error());
    return Capture::Saved;
}

}  // namespace pagelark

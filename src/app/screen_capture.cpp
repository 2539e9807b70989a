#include "app/screen_capture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "platform/file_io.h"
#include "platform/log.h"

namespace pagelark {

Result<std::optional<std::string>> QtScreenCapture::Grab(const char* format) const {
    QScreen* screen = QGuiApplication::primaryScreen();
    // Window 0 is the whole screen, whatever windows lie on it.
    QPixmap grabbed = screen != nullptr ? screen->grabWindow(0) : QPixmap();
    if (QWidget* window = window_ ? window_() : nullptr; grabbed.isNull() && window != nullptr) {
        Log(LogArea::Stage, "the screen cannot be read: the snapshot is the show's window");
        grabbed = window->grab();
    }
    if (grabbed.isNull()) return std::optional<std::string>();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!grabbed.toImage().save(&buffer, format)) return Fail("the picture could not be encoded");
    return std::optional(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

Result<Capture> QtScreenCapture::CaptureScreenTo(const std::string& path) {
    const Result<std::optional<std::string>> grabbed = Grab("BMP");
    if (!grabbed) return Fail(grabbed.Error());
    if (!grabbed.Value()) return Capture::CaptureFailed;
    // Written whole or not at all, with the system's reason when it cannot be.
    if (Result<> written = ReplaceFileAtomically(path, *grabbed.Value()); !written)
        return Fail(written.Error());
    return Capture::Saved;
}

}  // namespace pagelark

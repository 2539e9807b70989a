#include "qtshared/typed_address.h"

#include <QUrl>

namespace pagelark {

std::string TypedAddress(const QString& typed) {
    const QString text = typed.trimmed();
    // A path is the stage's to read as a local file, as typed.
    if (text.isEmpty() || text.startsWith('/')) return text.toStdString();
    QUrl url(text, QUrl::TolerantMode);
    if (url.scheme().isEmpty()) url = QUrl::fromUserInput(text);
    // A host in a short or numeric form (127.1, 0x7f.0.0.1) stays as typed, so the lists
    // judge what the visitor wrote, not a host they may not name.
    if (!url.isValid() || !text.contains(url.host(), Qt::CaseInsensitive))
        return text.toStdString();
    if ((url.scheme() == "http" || url.scheme() == "https") && url.path().isEmpty())
        url.setPath("/");
    return url.toString().toStdString();
}

}  // namespace pagelark

#include "help/qt_help_resources.h"

#include <QFile>
#include <QString>

// A static library's resources are registered only when asked for by name, outside any
// namespace.
static void RegisterHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace pagelark {

QtHelpResources::QtHelpResources() {
    RegisterHelpResources();
}

std::optional<std::string> QtHelpResources::Load(std::int32_t id, std::string_view type) const {
    QFile file(QString(":/help/%1/%2")
                   .arg(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())))
                   .arg(id));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll().toStdString();
}

}  // namespace pagelark

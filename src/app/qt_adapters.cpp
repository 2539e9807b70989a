#include "app/qt_adapters.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

#include "settings/settings.h"

namespace pagelark {

QtDesktop::~QtDesktop() {
    if (blank_) QGuiApplication::restoreOverrideCursor();
}

ScreenPoint QtDesktop::CursorPosition() const {
    const QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

int QtDesktop::ShowCursor(bool show) {
    counter_ += show ? 1 : -1;
    const bool blank = counter_ < 0;
    if (blank && !blank_) QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    if (!blank && blank_) QGuiApplication::restoreOverrideCursor();
    blank_ = blank;
    return counter_;
}

QtConnectivity::QtConnectivity() {
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        information_ = QNetworkInformation::instance();
}

bool QtConnectivity::IsConnected() const {
    return information_ == nullptr ||
           information_->reachability() != QNetworkInformation::Reachability::Disconnected;
}

void QtLauncher::StartMinimized(const std::string& program) {
    const QString path = QString::fromStdString(program);
    QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

std::string StoreDebugSettings::DebugProgram(const std::string& file) const {
    if (!settings_.DebugEnabled(file)) return "";
    return settings_.ReadSetting(file, "IEPath");
}

}  // namespace pagelark

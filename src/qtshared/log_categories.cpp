#include "qtshared/log_categories.h"

namespace pagelark {

// Debug lines off unless asked for; warnings on unless the rules turn them off.
Q_LOGGING_CATEGORY(lcPlayer, "pagelark.player", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStage, "pagelark.stage", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDocument, "pagelark.document", QtInfoMsg)
Q_LOGGING_CATEGORY(lcToolbars, "pagelark.toolbars", QtInfoMsg)
Q_LOGGING_CATEGORY(lcConfig, "pagelark.config", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMaintenance, "pagelark.maintenance", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "pagelark.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDBus, "pagelark.dbus", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMqtt, "pagelark.mqtt", QtInfoMsg)

namespace {

const QLoggingCategory& CategoryOf(LogArea area) {
    switch (area) {
        case LogArea::Player:
            return lcPlayer();
        case LogArea::Stage:
            return lcStage();
        case LogArea::Document:
            return lcDocument();
        case LogArea::Toolbars:
            return lcToolbars();
        case LogArea::Config:
            return lcConfig();
        case LogArea::Settings:
            return lcSettings();
        case LogArea::Mqtt:
            return lcMqtt();
        case LogArea::Maintenance:
            break;
    }
    return lcMaintenance();
}

}  // namespace

bool QtLogSink::Enabled(LogArea area) const {
    return CategoryOf(area).isDebugEnabled();
}

void QtLogSink::Write(LogArea area, std::string_view line) {
    qCDebug(CategoryOf(area)).noquote()
        << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

void QtLogSink::Warn(LogArea area, std::string_view line) {
    qCWarning(CategoryOf(area)).noquote()
        << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

}  // namespace pagelark

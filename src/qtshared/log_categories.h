#pragma once
// The program's logging categories: debug lines only when QT_LOGGING_RULES enables them
// ("pagelark.*.debug=true"), warnings always; under systemd the lines reach the journal.

#include <QLoggingCategory>

#include "platform/log.h"

namespace pagelark {

Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
Q_DECLARE_LOGGING_CATEGORY(lcStage)
Q_DECLARE_LOGGING_CATEGORY(lcDocument)
Q_DECLARE_LOGGING_CATEGORY(lcToolbars)
Q_DECLARE_LOGGING_CATEGORY(lcConfig)
Q_DECLARE_LOGGING_CATEGORY(lcMaintenance)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcDBus)
Q_DECLARE_LOGGING_CATEGORY(lcMqtt)

// The plain-C++ layers' log lines, written to these categories.
class QtLogSink final : public LogSink {
  public:
    bool Enabled(LogArea area) const override;
    void Write(LogArea area, std::string_view line) override;
    void Warn(LogArea area, std::string_view line) override;
};

}  // namespace pagelark

#include "app/logind_reboot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

#include "qtshared/log_categories.h"

namespace pagelark {

namespace {
constexpr int kAnswerMilliseconds = 2000;

QDBusMessage Send(const LogindCall& call) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        QString::fromStdString(call.method));
    if (call.method == "Reboot") {
        message << false;  // not interactive: nobody is there to authenticate
    } else {
        message << QVariant::fromValue(static_cast<qulonglong>(call.flags));
    }
    return QDBusConnection::systemBus().call(message, QDBus::Block, kAnswerMilliseconds);
}

}  // namespace

bool LogindReboot::RequestReboot(bool force) {
    LogindCall call = LogindRebootCall(force);
    for (;;) {
        const QDBusMessage answer = Send(call);
        if (answer.type() == QDBusMessage::ReplyMessage) return true;
        const auto next = LogindFallback(call, answer.errorName().toStdString());
        if (!next) {
            qCWarning(lcMaintenance).noquote()
                << "reboot refused:" << answer.errorName() << answer.errorMessage();
            return false;
        }
        call = *next;
    }
}

}  // namespace pagelark

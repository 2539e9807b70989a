#include "app/logind_reboot.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariant>

namespace pagelark {

namespace {
constexpr int kAnswerMilliseconds = 2000;
}

void LogindReboot::RequestReboot(bool force) {
    Send(LogindRebootCall(force));
}

void LogindReboot::Send(const LogindCall& call) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        QString::fromStdString(call.method));
    if (call.method == "Reboot") {
        message << false;  // not interactive: nobody is there to authenticate
    } else {
        message << QVariant::fromValue(static_cast<qulonglong>(call.flags));
    }
    sent_ = call;
    pending_ = QDBusConnection::systemBus().asyncCall(message, kAnswerMilliseconds);
}

void LogindReboot::AwaitAnswer() {
    while (pending_) {
        pending_->waitForFinished();
        const QDBusError error = pending_->error();
        pending_.reset();
        if (!error.isValid()) break;
        if (const auto next = LogindFallback(*sent_, error.name().toStdString())) Send(*next);
    }
}

}  // namespace pagelark

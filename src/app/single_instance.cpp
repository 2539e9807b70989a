#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QTimer>

#include "platform/paths.h"

namespace pagelark {
namespace {

// A request is a short line: a caller that sends more without one is not heard out.
constexpr qint64 kLongestRequest = 64;

QString SocketName(const QString& folder) {
    return folder + "/pagelark.socket";
}

// The running copy's answer, a line; "" when none came in time.
QByteArray AnswerLine(QLocalSocket& socket, std::chrono::milliseconds wait) {
    const QDeadlineTimer deadline(wait);
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return {};
    }
    return socket.readLine();
}

}  // namespace

QString RuntimeFolder(const std::string& tempDir) {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) return runtime;
    return QString::fromStdString(WithoutTrailingSeparator(tempDir));
}

SingleInstance::SingleInstance(const QString& folder, std::chrono::milliseconds answerWait)
    : folder_(folder), answerWait_(answerWait) {}

Result<SingleInstance::Outcome> SingleInstance::Acquire(bool wantConfig,
                                                        std::function<bool()> comeForward,
                                                        std::function<bool()> configRequested) {
    if (folder_.isEmpty()) return Fail("no private runtime or temporary folder");
    const Result<InstanceLock::Taken> taken = lock_.Take(folder_.toStdString());
    if (!taken) return Fail(taken.Error());
    if (taken.Value() == InstanceLock::Taken::HeldByAnother) {
        QLocalSocket socket;
        socket.connectToServer(SocketName(folder_));
        if (socket.waitForConnected(1000)) {
            socket.write(wantConfig ? "config\n" : "raise\n");
            socket.waitForBytesWritten(1000);
            const QByteArray answer = AnswerLine(socket, answerWait_);
            if (wantConfig && answer == "open\n") return Outcome::ConfigOpened;
            if (!wantConfig && answer == "raised\n") return Outcome::CameForward;
            if (!wantConfig && answer == "refused\n") return Outcome::NotForward;
        }
        return Outcome::AnotherRuns;
    }
    comeForward_ = std::move(comeForward);
    configRequested_ = std::move(configRequested);
    QLocalServer::removeServer(SocketName(folder_));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(SocketName(folder_));
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->setReadBufferSize(kLongestRequest);
            // A caller gets as long to ask as a second start waits for its answer: one that
            // says nothing would otherwise hold its connection for as long as the kiosk runs.
            QTimer::singleShot(answerWait_, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() >= kLongestRequest) {
                        socket->abort();
                        socket->deleteLater();
                    }
                    return;
                }
                // One request a connection: what follows it is never read.
                QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
                const bool config = socket->readLine(kLongestRequest) == "config\n";
                const bool opened = config && configRequested_ && configRequested_();
                if (config) socket->write(opened ? "open\n" : "no\n");
                const bool forward = !opened && comeForward_ && comeForward_();
                if (!config) socket->write(forward ? "raised\n" : "refused\n");
                socket->disconnectFromServer();
            });
        }
    });
    return Outcome::First;
}

}  // namespace pagelark

#include "app/single_instance.h"

#include <QLocalSocket>

namespace pagelark {
namespace {

QString SocketName(const QString& folder) {
    return folder + "/pagelark.socket";
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder)
    : folder_(folder), lock_(folder + "/pagelark.lock") {
    lock_.setStaleLockTime(0);  // a lock left by a copy that died is found by its process id
}

bool SingleInstance::Acquire(std::function<void()> raiseRequested) {
    if (!lock_.tryLock(0)) {
        QLocalSocket socket;
        socket.connectToServer(SocketName(folder_));
        if (socket.waitForConnected(1000)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(1000);
        }
        return false;
    }
    raiseRequested_ = std::move(raiseRequested);
    QLocalServer::removeServer(SocketName(folder_));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(SocketName(folder_));
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (raiseRequested_) raiseRequested_();
        }
    });
    return true;
}

}  // namespace pagelark

#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSysInfo>

namespace lintrel {
namespace {

constexpr int kHandOverTimeoutMs = 3000;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent),
      m_socketPath(QDir(folder).filePath(QStringLiteral("lintrel.socket"))),
      m_lock(QDir(folder).filePath(QStringLiteral("lintrel.lock"))) {
    // Only a lock whose holder has died is stale, however long the program has been running.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::becomePrimary() {
    if (!m_lock.tryLock(0) && (isLockUnderstood() || !takeOverLock())) {
        return false;
    }
    // A socket left behind by a copy that crashed would block the name; the lock proves it stale.
    QLocalServer::removeServer(m_socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(m_socketPath);
    return true;
}

bool SingleInstance::isLockUnderstood() const {
    qint64 pid = 0;
    QString host;
    QString application;
    return m_lock.getLockInfo(&pid, &host, &application) && host == QSysInfo::machineHostName();
}

bool SingleInstance::takeOverLock() {
    const QString path = m_lock.fileName();
    // An empty folder goes; one with something in it stays, and the lock with it.
    bool isRemoved = QFileInfo(path).isDir() ? QDir().rmdir(path) : m_lock.removeStaleLockFile();
    return isRemoved && m_lock.tryLock(0);
}

bool SingleInstance::isPrimaryReachable() const {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    return socket.waitForConnected(kHandOverTimeoutMs);
}

bool SingleInstance::handOver(const QByteArrayList& files) const {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kHandOverTimeoutMs)) {
        return false;
    }
    QDataStream out(&socket);
    out.setVersion(kStreamVersion);
    out << files;
    bool isSent = socket.waitForBytesWritten(kHandOverTimeoutMs);
    socket.disconnectFromServer();
    return isSent;
}

void SingleInstance::receive(QLocalSocket* socket) {
    QDataStream in(socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    QByteArrayList files;
    in >> files;
    if (in.commitTransaction()) {
        emit filesHandedOver(files);
    }
}

}  // namespace lintrel

#pragma once

#include <QByteArrayList>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

class QLocalSocket;

namespace lintrel {

// Keeps the program to one running copy per user: the first copy holds a lock in the given
// folder (the user's runtime folder) and listens on a socket beside it; a later copy finds the
// lock taken and may hand its files to the first one over that socket.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);

    // True when no other copy runs; this one then holds the lock and takes handed-over files. A
    // lock it cannot understand (empty, garbage, another host's, a folder in its place) is stale
    // and taken over when nothing holds it.
    [[nodiscard]] bool becomePrimary();
    // True when a running copy answers; a lock that could not be taken nor taken over may have
    // no copy behind it.
    [[nodiscard]] bool isPrimaryReachable() const;
    // Gives files to the running copy, by the bytes of their paths; false when it could not be
    // reached.
    bool handOver(const QByteArrayList& files) const;

signals:
    void filesHandedOver(const QByteArrayList& files);

private:
    void receive(QLocalSocket* socket);
    bool isLockUnderstood() const;
    bool takeOverLock();

    QString m_socketPath;
    QLockFile m_lock;
    QLocalServer m_server;
};

}  // namespace lintrel

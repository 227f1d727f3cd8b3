#include "platform/single_instance.h"

#include "platform/private_directory.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace voltwise {

namespace {
constexpr QByteArrayView kActivate = "activate\n";
constexpr QByteArrayView kAcknowledge = "ok\n";
constexpr int kHandoverMilliseconds = 5000;
} // namespace

SingleInstance::SingleInstance(const QString &runtimeDirectory, const QString &key, QObject *parent)
    : QObject(parent)
    , m_directory(runtimeDirectory)
    , m_socketPath(QDir(runtimeDirectory).filePath(key + u".socket"_qs))
    , m_lock(QDir(runtimeDirectory).filePath(key + u".lock"_qs))
{
    m_lock.setStaleLockTime(0); // only a dead owner makes a lock stale
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::defaultKey()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QByteArray hash =
        QCryptographicHash::hash(QDir(config).absolutePath().toUtf8(), QCryptographicHash::Sha1);
    return u"voltwise-"_qs + QString::fromLatin1(hash.toHex().left(12));
}

QString SingleInstance::defaultRuntimeDirectory()
{
    // Not Qt's own stand-in for a missing runtime folder: it lies in /tmp.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && MakePrivateDirectory(runtime))
        return runtime;
    const QString cache =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/voltwise"_qs;
    return MakePrivateDirectory(cache) ? cache : QString();
}

bool SingleInstance::tryBecomePrimary()
{
    if (m_directory.isEmpty() || !MakePrivateDirectory(m_directory)) {
        qWarning("voltwise: no private folder for the single-instance lock; running unguarded");
        return true;
    }
    // Someone else's file where the lock belongs can only be a trap: not
    // waited on, not removed.
    if (!IsOwnFileOrMissing(m_lock.fileName())) {
        qWarning("voltwise: %s belongs to another user; running unguarded",
                 qPrintable(m_lock.fileName()));
        return true;
    }
    if (!m_lock.tryLock(0))
        return false;
    // The lock is ours, so any socket file left behind is from a dead instance.
    QLocalServer::removeServer(m_socketPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath))
        qWarning("voltwise: cannot listen on %s: %s", qPrintable(m_socketPath),
                 qPrintable(m_server->errorString()));
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray line = socket->readLine(64);
            if (line == kActivate) {
                socket->write(kAcknowledge.data(), kAcknowledge.size());
                socket->flush();
                Q_EMIT activationRequested();
            }
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::activatePrimary()
{
    if (m_directory.isEmpty())
        return false;
    // The running instance may hold the lock but not listen yet: retry
    // until it does or the hand-over time is up.
    const QDeadlineTimer deadline(kHandoverMilliseconds);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(500)) {
            socket.write(kActivate.data(), kActivate.size());
            socket.waitForBytesWritten(1000);
            while (!socket.canReadLine() && socket.waitForReadyRead(1000)) {
            }
            return socket.readLine(64) == kAcknowledge;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace voltwise

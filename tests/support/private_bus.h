#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

namespace voltwise::testing {

// A session bus of the test's own: tests that stand in for a desktop service
// (a panel's watcher, a notification server) may run beside each other, and
// nothing on it is started by activation.
class PrivateBus
{
public:
    // Anyone: programs of other users too (a compositor that must not run as root).
    enum class Users
    {
        Owner,
        Anyone
    };

    explicit PrivateBus(Users users = Users::Owner)
    {
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">" +
                     QByteArray(users == Users::Anyone ? "<allow user=\"*\"/>" : "") +
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config.fileName(),
                        QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000))
            m_address = QString::fromLatin1(m_daemon.readLine().trimmed());
    }

    ~PrivateBus()
    {
        for (const QString &name : std::as_const(m_names))
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }

    // A new connection of its own, as a separate program would have.
    QDBusConnection connect()
    {
        m_names << QUuid::createUuid().toString();
        return QDBusConnection::connectToBus(m_address, m_names.last());
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_names;
};

} // namespace voltwise::testing

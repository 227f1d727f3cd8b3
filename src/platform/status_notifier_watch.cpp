#include "platform/status_notifier_watch.h"

#include "platform/status_notifier_item.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace voltwise {

namespace {
QString Watcher()
{
    return QString::fromLatin1(StatusNotifierItem::kWatcherService);
}
} // namespace

StatusNotifierHostWatch::StatusNotifierHostWatch(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    auto *owner =
        new QDBusServiceWatcher(Watcher(), m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                watcherOwnerChanged(newOwner);
            });
    const QString path = QString::fromLatin1(StatusNotifierItem::kWatcherPath);
    // Qt's bus API names its receivers by signature.
    m_bus.connect(Watcher(), path, Watcher(), u"StatusNotifierHostRegistered"_qs, this,
                  SLOT(hostRegistered()));
    m_bus.connect(Watcher(), path, Watcher(), u"StatusNotifierHostUnregistered"_qs, this,
                  SLOT(hostUnregistered()));
    askWatcher();
}

void StatusNotifierHostWatch::askWatcher()
{
    const quint64 question = ++m_question;
    QDBusMessage call =
        QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_qs, u"/org/freedesktop/DBus"_qs,
                                       u"org.freedesktop.DBus"_qs, u"NameHasOwner"_qs);
    call << Watcher();
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this,
            [this, question](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                if (question != m_question)
                    return;
                const QDBusPendingReply<bool> owned = *w;
                if (owned.isValid() && owned.value())
                    watcherOwnerChanged(u"?"_qs);
                else
                    settle();
            });
}

void StatusNotifierHostWatch::watcherOwnerChanged(const QString &newOwner)
{
    m_watcherPresent = !newOwner.isEmpty();
    if (!m_watcherPresent) {
        ++m_question;
        setHost(false);
        settle();
        return;
    }
    Q_EMIT watcherAppeared();
    askHost();
}

void StatusNotifierHostWatch::askHost()
{
    const quint64 question = ++m_question;
    QDBusMessage call = QDBusMessage::createMethodCall(
        Watcher(), QString::fromLatin1(StatusNotifierItem::kWatcherPath),
        u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs);
    call << Watcher() << u"IsStatusNotifierHostRegistered"_qs;
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this,
            [this, question](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                if (question != m_question)
                    return;
                const QDBusPendingReply<QDBusVariant> registered = *w;
                setHost(registered.isValid() && registered.value().variant().toBool());
                settle();
            });
}

void StatusNotifierHostWatch::hostRegistered()
{
    ++m_question; // what the watcher says now outdates any answer on the way
    m_watcherPresent = true;
    setHost(true);
    settle();
}

void StatusNotifierHostWatch::hostUnregistered()
{
    // Another panel may still be there.
    askHost();
}

void StatusNotifierHostWatch::setHost(bool present)
{
    if (present == m_hostPresent)
        return;
    m_hostPresent = present;
    Q_EMIT hostPresenceChanged(present);
}

void StatusNotifierHostWatch::settle()
{
    if (m_settled)
        return;
    m_settled = true;
    Q_EMIT settled();
}

} // namespace voltwise

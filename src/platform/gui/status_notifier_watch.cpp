#include "platform/gui/status_notifier_watch.h"

#include "platform/gui/status_notifier_item.h"

#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <qcoro/qcorodbuspendingcall.h>

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
                // A new watcher knows no items yet, whoever owned the name before.
                m_watcherPresent = false;
                if (!newOwner.isEmpty()) {
                    ask();
                    return;
                }
                ++m_question;
                setHost(false);
                settle();
            });
    const QString path = QString::fromLatin1(StatusNotifierItem::kWatcherPath);
    // Qt's bus API names its receivers by signature.
    m_bus.connect(Watcher(), path, Watcher(), u"StatusNotifierHostRegistered"_qs, this,
                  SLOT(hostRegistered()));
    m_bus.connect(Watcher(), path, Watcher(), u"StatusNotifierHostUnregistered"_qs, this,
                  SLOT(hostUnregistered()));
    ask();
}

QCoro::Task<> StatusNotifierHostWatch::ask()
{
    const quint64 question = ++m_question;
    QPointer<StatusNotifierHostWatch> self(this);
    QDBusMessage call =
        QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_qs, u"/org/freedesktop/DBus"_qs,
                                       u"org.freedesktop.DBus"_qs, u"NameHasOwner"_qs);
    call << Watcher();
    const QDBusReply<bool> owned = co_await m_bus.asyncCall(call);
    if (!self || question != m_question)
        co_return;
    m_watcherPresent = owned.isValid() && owned.value();
    bool host = false;
    if (m_watcherPresent) {
        Q_EMIT watcherAppeared();
        call = QDBusMessage::createMethodCall(Watcher(),
                                              QString::fromLatin1(StatusNotifierItem::kWatcherPath),
                                              u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs);
        call << Watcher() << u"IsStatusNotifierHostRegistered"_qs;
        const QDBusReply<QDBusVariant> registered = co_await m_bus.asyncCall(call);
        if (!self || question != m_question)
            co_return;
        host = registered.isValid() && registered.value().variant().toBool();
    }
    setHost(host);
    settle();
}

void StatusNotifierHostWatch::hostRegistered()
{
    ++m_question; // what the watcher says now outdates any answer on the way
    // Panels such as swaybar register their host the moment their watcher is
    // up, so this signal can overtake the answer that the watcher is there.
    if (!m_watcherPresent) {
        m_watcherPresent = true;
        Q_EMIT watcherAppeared();
    }
    setHost(true);
    settle();
}

void StatusNotifierHostWatch::hostUnregistered()
{
    // Another panel may still be there.
    ask();
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

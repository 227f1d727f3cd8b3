#pragma once

#include <QDBusConnection>
#include <QObject>
#include <qcoro/qcorotask.h>

namespace voltwise {

// Follows the panels of the session: the watcher that items register with
// (it comes and goes with a panel, and may come long after the program) and
// whether a panel that draws items (a host) is registered with it.
class StatusNotifierHostWatch : public QObject
{
    Q_OBJECT

public:
    explicit StatusNotifierHostWatch(QDBusConnection bus, QObject *parent = nullptr);

    // Until the bus has answered once, nothing is known.
    bool isSettled() const { return m_settled; }
    bool isWatcherPresent() const { return m_watcherPresent; }
    bool isHostPresent() const { return m_hostPresent; }

Q_SIGNALS:
    void settled();
    // A watcher started (or restarted): items must register with it again.
    void watcherAppeared();
    void hostPresenceChanged(bool present);

private Q_SLOTS:
    void hostRegistered();
    void hostUnregistered();

private:
    // Whether a watcher runs and a host is registered with it.
    QCoro::Task<> ask();
    void setHost(bool present);
    void settle();

    QDBusConnection m_bus;
    quint64 m_question = 0; // answers to older questions are stale
    bool m_settled = false;
    bool m_watcherPresent = false;
    bool m_hostPresent = false;
};

} // namespace voltwise

#include "platform/gui/published_items_bus.h"

#include "gridstatusadaptor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace voltwise {

PublishedItemsBus::PublishedItemsBus(QObject *parent)
    : QObject(parent)
{
    new GridStatusAdaptor(this);
}

bool PublishedItemsBus::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(QLatin1String(kPath), this))
        return false;
    if (!bus.registerService(QLatin1String(kService))) {
        qWarning("voltwise: D-Bus name %s is taken; grid items are not published", kService);
        bus.unregisterObject(QLatin1String(kPath));
        return false;
    }
    m_registered = true;
    return true;
}

void PublishedItemsBus::setItems(const QString &updateTime, const QString &systemCondition,
                                 const QString &currentLoad, const QString &operatorStatus)
{
    QVariantMap changed;
    if (updateTime != m_updateTime)
        changed.insert(u"UpdateTime"_qs, m_updateTime = updateTime);
    if (systemCondition != m_systemCondition)
        changed.insert(u"SystemCondition"_qs, m_systemCondition = systemCondition);
    if (currentLoad != m_currentLoad)
        changed.insert(u"CurrentLoad"_qs, m_currentLoad = currentLoad);
    if (operatorStatus != m_operatorStatus)
        changed.insert(u"OperatorStatus"_qs, m_operatorStatus = operatorStatus);
    if (changed.isEmpty() || !m_registered)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(kPath), u"org.freedesktop.DBus.Properties"_qs, u"PropertiesChanged"_qs);
    signal << QLatin1String(kInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace voltwise

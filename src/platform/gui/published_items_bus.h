#pragma once

#include "status/status_presentation.h"

#include <QObject>
#include <QString>

namespace voltwise {

// The three grid items other programs can follow: update time, condition
// and current load, as texts, and beside them the operator's own status
// words. Offered on the session bus as read-only properties with
// PropertiesChanged on every change.
class PublishedItemsBus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString UpdateTime READ UpdateTime)
    Q_PROPERTY(QString SystemCondition READ SystemCondition)
    Q_PROPERTY(QString CurrentLoad READ CurrentLoad)
    Q_PROPERTY(QString OperatorStatus READ OperatorStatus)

public:
    static constexpr const char *kService = "com.ternwood.Voltwise";
    static constexpr const char *kPath = "/GridStatus";
    static constexpr const char *kInterface = "com.ternwood.Voltwise.GridStatus";

    explicit PublishedItemsBus(QObject *parent = nullptr);

    // Registers the object and the service name on the session bus.
    // False when there is no bus or the name is taken; the items are then
    // still kept for the window, just not offered.
    bool registerOnSessionBus();

    QString UpdateTime() const { return m_updateTime; }
    QString SystemCondition() const { return m_systemCondition; }
    QString CurrentLoad() const { return m_currentLoad; }
    // The words joined by ", "; empty when the feeds publish none.
    QString OperatorStatus() const { return m_operatorStatus; }

    void setItems(const QString &updateTime, const QString &systemCondition,
                  const QString &currentLoad, const QString &operatorStatus = QString());
    void publish(const PublishedItems &items, const QString &operatorStatus)
    {
        setItems(items.UpdateTime, items.SystemCondition, items.CurrentLoad, operatorStatus);
    }

private:
    QString m_updateTime = u"Not Updated"_qs;
    QString m_systemCondition = u"Unknown"_qs;
    QString m_currentLoad = u"0"_qs;
    QString m_operatorStatus;
    bool m_registered = false;
};

} // namespace voltwise

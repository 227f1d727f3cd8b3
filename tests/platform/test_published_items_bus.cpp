#include "platform/published_items_bus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>

using namespace voltwise;

// Receives PropertiesChanged on a second bus connection.
class PropertiesListener : public QObject
{
    Q_OBJECT
public:
    QList<QVariantMap> received;
public Q_SLOTS:
    void onChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        received.append(changed);
    }
};

class TestPublishedItemsBus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void itemsReadableOverTheBus();
    void changesAreSignalledOnce();

private:
    QVariantMap getAll();
    QDBusConnection m_client{u"client"_qs};
};

void TestPublishedItemsBus::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (run under dbus-run-session)");
    m_client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"client"_qs);
    QVERIFY(m_client.isConnected());
}

QVariantMap TestPublishedItemsBus::getAll()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(PublishedItemsBus::kService), QLatin1String(PublishedItemsBus::kPath),
        u"org.freedesktop.DBus.Properties"_qs, u"GetAll"_qs);
    call << QLatin1String(PublishedItemsBus::kInterface);
    // Asynchronous: the object answers from this very event loop.
    QDBusPendingReply<QVariantMap> reply = m_client.asyncCall(call);
    QDBusPendingCallWatcher watcher(reply);
    QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
    if (!reply.isFinished())
        finished.wait(5000);
    return reply.isValid() ? reply.value() : QVariantMap{};
}

void TestPublishedItemsBus::itemsReadableOverTheBus()
{
    PublishedItemsBus items;
    QVERIFY(items.registerOnSessionBus());
    QVariantMap values = getAll();
    QCOMPARE(values.value(u"UpdateTime"_qs).toString(), u"Not Updated"_qs);
    QCOMPARE(values.value(u"SystemCondition"_qs).toString(), u"Unknown"_qs);
    QCOMPARE(values.value(u"CurrentLoad"_qs).toString(), u"0"_qs);

    items.setItems(u"9/14/2001 2:30:00 PM"_qs, u"System Normal"_qs, u"31456.4"_qs);
    values = getAll();
    QCOMPARE(values.value(u"SystemCondition"_qs).toString(), u"System Normal"_qs);
    QCOMPARE(values.value(u"CurrentLoad"_qs).toString(), u"31456.4"_qs);
    QDBusConnection::sessionBus().unregisterService(QLatin1String(PublishedItemsBus::kService));
    QDBusConnection::sessionBus().unregisterObject(QLatin1String(PublishedItemsBus::kPath));
}

void TestPublishedItemsBus::changesAreSignalledOnce()
{
    PublishedItemsBus items;
    QVERIFY(items.registerOnSessionBus());
    PropertiesListener listener;
    QVERIFY(m_client.connect(QLatin1String(PublishedItemsBus::kService),
                             QLatin1String(PublishedItemsBus::kPath),
                             u"org.freedesktop.DBus.Properties"_qs, u"PropertiesChanged"_qs,
                             &listener, SLOT(onChanged(QString, QVariantMap, QStringList))));

    items.setItems(u"Not Updated"_qs, u"Alert Notice"_qs, u"0"_qs);
    QTRY_COMPARE(listener.received.size(), 1);
    QCOMPARE(listener.received[0].keys(), QStringList{u"SystemCondition"_qs});

    items.setItems(u"Not Updated"_qs, u"Alert Notice"_qs, u"0"_qs); // no change, no signal
    items.setItems(u"12:00:00 AM"_qs, u"Alert Notice"_qs, u"1"_qs);
    QTRY_COMPARE(listener.received.size(), 2);
    QCOMPARE(listener.received[1].size(), 2);
    QDBusConnection::sessionBus().unregisterService(QLatin1String(PublishedItemsBus::kService));
    QDBusConnection::sessionBus().unregisterObject(QLatin1String(PublishedItemsBus::kPath));
}

QTEST_GUILESS_MAIN(TestPublishedItemsBus)
#include "test_published_items_bus.moc"

// Desktop facilities of the program's windows: the items published on the
// session bus, and staying on top.
#include "platform/always_on_top.h"
#include "platform/published_items_bus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace voltwise;

class TestWindowServices : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void onChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        m_received.append(changed);
    }

private Q_SLOTS:
    // Read and heard on a second bus connection.
    void itemsReadableAndChangesSignalledOnce()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus (run under dbus-run-session)");
        QDBusConnection client =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"client"_qs);
        const QString service = QLatin1String(PublishedItemsBus::kService);
        const QString path = QLatin1String(PublishedItemsBus::kPath);
        const QString properties = u"org.freedesktop.DBus.Properties"_qs;
        const auto getAll = [&] {
            QDBusMessage call =
                QDBusMessage::createMethodCall(service, path, properties, u"GetAll"_qs);
            call << QLatin1String(PublishedItemsBus::kInterface);
            // Asynchronous: the object answers from this very event loop.
            QDBusPendingReply<QVariantMap> reply = client.asyncCall(call);
            QDBusPendingCallWatcher watcher(reply);
            QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
            if (!reply.isFinished())
                finished.wait(5000);
            return reply.isValid() ? reply.value() : QVariantMap{};
        };

        PublishedItemsBus items;
        QVERIFY(items.registerOnSessionBus());
        QCOMPARE(getAll(), (QVariantMap{{u"UpdateTime"_qs, u"Not Updated"_qs},
                                        {u"SystemCondition"_qs, u"Unknown"_qs},
                                        {u"CurrentLoad"_qs, u"0"_qs},
                                        {u"OperatorStatus"_qs, QString()}}));
        QVERIFY(client.connect(service, path, properties, u"PropertiesChanged"_qs, this,
                               SLOT(onChanged(QString, QVariantMap, QStringList))));

        items.setItems(u"Not Updated"_qs, u"Alert Notice"_qs, u"0"_qs);
        QTRY_COMPARE(m_received.size(), 1);
        QCOMPARE(m_received[0].keys(), QStringList{u"SystemCondition"_qs});
        items.setItems(u"Not Updated"_qs, u"Alert Notice"_qs, u"0"_qs); // no change, no signal
        items.setItems(u"9/14/2001 2:30:00 PM"_qs, u"Alert Notice"_qs, u"31456.4"_qs,
                       u"EEA Watch, Flex Alert"_qs);
        QTRY_COMPARE(m_received.size(), 2);
        QCOMPARE(m_received[1].size(), 3);
        QCOMPARE(getAll(), (QVariantMap{{u"UpdateTime"_qs, u"9/14/2001 2:30:00 PM"_qs},
                                        {u"SystemCondition"_qs, u"Alert Notice"_qs},
                                        {u"CurrentLoad"_qs, u"31456.4"_qs},
                                        {u"OperatorStatus"_qs, u"EEA Watch, Flex Alert"_qs}}));
    }

    // Setting the flag keeps the window where it was, shown or hidden; child
    // widgets and no widget are left alone.
    void alwaysOnTopKeepsPlaceAndVisibility_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("shown") << true;
        QTest::newRow("hidden") << false;
    }

    void alwaysOnTopKeepsPlaceAndVisibility()
    {
        QFETCH(bool, visible);
        QWidget window;
        window.setGeometry(120, 90, 320, 240);
        window.setVisible(visible);
        QVERIFY(!visible || QTest::qWaitForWindowExposed(&window));
        const QRect before = window.geometry();
        for (bool onTop : {true, true, false, true}) {
            SetAlwaysOnTop(&window, onTop);
            QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
            QCOMPARE(window.isVisible(), visible);
            QTRY_COMPARE(window.geometry(), before);
        }
        auto *child = new QWidget(&window);
        SetAlwaysOnTop(child, true);
        QVERIFY(!child->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        SetAlwaysOnTop(nullptr, true);
    }

private:
    QList<QVariantMap> m_received;
};

QTEST_MAIN(TestWindowServices)
#include "test_window_services.moc"

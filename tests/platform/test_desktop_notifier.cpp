// The notice of a changed status as a desktop notification: what the
// notification server is given, the link opened from it, and the failures
// after which the program shows its own window instead.
#include "platform/gui/desktop_notifier.h"
#include "platform/recording_browser_opener.h"
#include "status/notice_style.h"
#include "support/private_bus.h"

#include <QDBusContext>
#include <QTest>
#include <qcoro/qcorotask.h>

#include <memory>

using namespace voltwise;
using namespace voltwise::testing;

namespace {

const QString kService = u"org.freedesktop.Notifications"_qs;

// Gives every notification a new id, as a server does once the one to be
// replaced is gone, so that each replaces_id shows which one it names.
class FakeNotificationServer : public QObject, public QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    enum Answer
    {
        Id,
        Error,
        Never,
    };

    QStringList capabilities{u"actions"_qs, u"body"_qs};
    Answer answer = Id;
    QList<DesktopNotification> received;
    QList<uint> ids;

public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }

    uint Notify(const QString &appName, uint replacesId, const QString &appIcon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expireTimeout)
    {
        received.append(
            {appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout});
        if (answer == Error)
            sendErrorReply(QDBusError::Failed, u"refused"_qs);
        if (answer == Never)
            setDelayedReply(true);
        ids.append(uint(41 + ids.size()));
        return ids.last();
    }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

ChangeNotice Notice(const QString &link = u"http://127.0.0.1/status"_qs,
                    const QString &text = u"Flex Alert in effect"_qs)
{
    return {
        u"Flex Alert: 41,230 MW"_qs, text, u"Click here for details..."_qs, QUrl(link), 7000, true};
}

} // namespace

class TestDesktopNotifier : public QObject
{
    Q_OBJECT

    bool show(const ChangeNotice &notice, int level = 2)
    {
        return QCoro::waitFor(m_notifier->show(notice, level));
    }

    PrivateBus m_bus;
    QDBusConnection m_serverBus{QString()};
    std::unique_ptr<FakeNotificationServer> m_server;
    RecordingBrowserOpener m_browser;
    std::unique_ptr<DesktopNotifier> m_notifier;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_bus.isRunning()); }

    void init()
    {
        m_server = std::make_unique<FakeNotificationServer>();
        m_serverBus = m_bus.connect();
        QVERIFY(m_serverBus.registerObject(u"/org/freedesktop/Notifications"_qs, m_server.get(),
                                           QDBusConnection::ExportAllSlots |
                                               QDBusConnection::ExportAllSignals));
        QVERIFY(m_serverBus.registerService(kService));
        m_notifier = std::make_unique<DesktopNotifier>(m_bus.connect(), m_browser);
        m_browser.opened.clear();
    }

    void cleanup()
    {
        m_notifier.reset();
        // Now: the connection itself closes only when the last copy goes.
        m_serverBus.unregisterService(kService);
        m_server.reset();
    }

    void notifyArguments_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<QString>("body");
        QTest::addColumn<uchar>("urgency");
        const QStringList plain{u"actions"_qs, u"body"_qs};
        const QStringList markup = plain + QStringList{u"body-markup"_qs};
        const QString escaped = u"A &amp; B &lt;b&gt;\nC"_qs;
        QTest::newRow("normal, plain body kept") << 1 << plain << u"A & B <b>\nC"_qs << uchar(0);
        QTest::newRow("warning, markup escaped") << 3 << markup << escaped << uchar(1);
        QTest::newRow("stage 1") << 4 << markup << escaped << uchar(2);
    }

    void notifyArguments()
    {
        QFETCH(int, level);
        QFETCH(QStringList, capabilities);
        m_server->capabilities = capabilities;
        const ChangeNotice notice = Notice(u"http://127.0.0.1/status"_qs, u"A & B <b>\nC"_qs);
        QVERIFY(show(notice, level));

        QCOMPARE(m_server->received.size(), 1);
        const DesktopNotification &n = m_server->received.first();
        QCOMPARE(n.appName, u"Voltwise"_qs);
        QCOMPARE(n.appIcon, u"com.ternwood.Voltwise"_qs);
        QCOMPARE(n.summary, notice.NoticeHeader);
        QTEST(n.body, "body");
        QCOMPARE(n.actions,
                 QStringList({u"default"_qs, notice.ClickText, u"details"_qs, notice.ClickText}));
        QCOMPARE(n.hints.value(u"desktop-entry"_qs), QVariant(u"com.ternwood.Voltwise"_qs));
        const QVariant urgency = n.hints.value(u"urgency"_qs);
        QCOMPARE(urgency.metaType(), QMetaType::fromType<uchar>());
        QTEST(urgency.value<uchar>(), "urgency");
        QCOMPARE(n.hints.value(u"suppress-sound"_qs), QVariant(true));
        QCOMPARE(n.expireTimeout, -1);
    }

    void replacesThePrevious()
    {
        for (int i = 0; i < 3; ++i)
            QVERIFY(show(Notice()));
        QList<uint> replaced;
        for (const DesktopNotification &n : std::as_const(m_server->received))
            replaced << n.replacesId;
        QCOMPARE(replaced, QList<uint>({0, m_server->ids[0], m_server->ids[1]}));
    }

    // A second notification's click follows each case; the server's signals
    // arrive in order, so once it has opened its link the case's is decided.
    void actionOpensLink_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::addColumn<uint>("otherId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("opens");
        QTest::newRow("notification clicked") << false << 0u << u"default"_qs << true;
        QTest::newRow("link action") << false << 0u << u"details"_qs << true;
        QTest::newRow("unknown action") << false << 0u << u"dismiss"_qs << false;
        QTest::newRow("another program's") << false << 500u << u"default"_qs << false;
        QTest::newRow("after it closed") << true << 0u << u"default"_qs << false;
    }

    void actionOpensLink()
    {
        QFETCH(bool, closed);
        QFETCH(uint, otherId);
        QFETCH(QString, key);
        QFETCH(bool, opens);
        QVERIFY(show(Notice(u"http://127.0.0.1/first"_qs)));
        QVERIFY(show(Notice(u"http://127.0.0.1/second"_qs)));
        const uint first = m_server->ids[0];
        if (closed)
            Q_EMIT m_server->NotificationClosed(first, 2);
        Q_EMIT m_server->ActionInvoked(otherId ? otherId : first, key);
        Q_EMIT m_server->ActionInvoked(m_server->ids[1], u"default"_qs);

        QStringList expected{u"http://127.0.0.1/second"_qs};
        if (opens)
            expected.prepend(u"http://127.0.0.1/first"_qs);
        QTRY_COMPARE(m_browser.opened, expected);
    }

    void failureFallsBack_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("refused") << int(FakeNotificationServer::Error);
        QTest::newRow("no answer") << int(FakeNotificationServer::Never);
    }

    void failureFallsBack()
    {
        QFETCH(int, answer);
        m_server->answer = FakeNotificationServer::Answer(answer);
        QVERIFY(!show(Notice()));
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "test_desktop_notifier.moc"

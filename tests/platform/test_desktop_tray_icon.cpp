// The icon on today's panels: a panel's watcher that comes late and restarts,
// a host that registers after it, and what a panel reads and sends: the
// icon, its tip, the menu and the clicks. The panel is played on a bus of
// the test's own.
#include "platform/gui/dbus_menu_types.h"
#include "platform/gui/desktop_tray_icon.h"
#include "platform/gui/status_notifier_item.h"
#include "status/gui/condition_images.h"
#include "support/private_bus.h"

#include <QAction>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace voltwise;
using namespace voltwise::testing;

namespace {

// What a panel offers items: the watcher, with or without a host.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered MEMBER host)

public:
    FakeWatcher(QDBusConnection connection, bool withHost)
        : bus(std::move(connection))
        , host(withHost)
    {
        bus.registerObject(u"/StatusNotifierWatcher"_qs, this, QDBusConnection::ExportAllContents);
        bus.registerService(u"org.kde.StatusNotifierWatcher"_qs);
    }

    // As a panel that quits: its names leave the bus.
    ~FakeWatcher() override
    {
        bus.unregisterService(u"org.kde.StatusNotifierWatcher"_qs);
        bus.unregisterObject(u"/StatusNotifierWatcher"_qs);
    }

    void registerHost()
    {
        host = true;
        Q_EMIT StatusNotifierHostRegistered();
    }

    QDBusConnection bus;
    bool host;
    QStringList items;

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service) { items << service; }

Q_SIGNALS:
    void StatusNotifierHostRegistered();
};

QStringList Labels(const DBusMenuLayoutItem &layout)
{
    QStringList labels;
    for (const DBusMenuLayoutItem &child : layout.children)
        labels << (child.properties.value(u"type"_qs) == u"separator"_qs
                       ? u"-"_qs
                       : child.properties.value(u"label"_qs).toString());
    return labels;
}

} // namespace

class TestDesktopTrayIcon : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    QMenu m_menu;
    QAction *m_details = nullptr;

    // The item lives in this process: calls to it keep the event loop going.
    static QDBusMessage call(const QDBusConnection &panel, const QString &service, const char *path,
                             const char *interface, const QString &method,
                             const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            service, QString::fromLatin1(path), QString::fromLatin1(interface), method);
        message.setArguments(arguments);
        return panel.call(message, QDBus::BlockWithGui);
    }

    static QVariant property(const QDBusConnection &panel, const QString &service, const char *name)
    {
        const QDBusMessage reply =
            call(panel, service, StatusNotifierItem::kItemPath, "org.freedesktop.DBus.Properties",
                 u"Get"_qs, {u"org.kde.StatusNotifierItem"_qs, QString::fromLatin1(name)});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_details = m_menu.addAction(u"&Details..."_qs);
        m_menu.addSeparator();
        m_menu.addAction(u"E&xit"_qs)->setEnabled(false);
    }

    void init()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), "no dbus-daemon");
    }

    // The icon reaches a panel whenever its watcher comes, and again when
    // it comes back; a watcher without a host shows nothing yet.
    void followsThePanels()
    {
        DesktopTrayIcon tray(m_bus->connect(), &m_menu);
        tray.setIcon(ConditionIcon(3));
        tray.setToolTip(u"Alert Notice: 30,000 MW"_qs);
        tray.show();
        QVERIFY(!tray.isPresent());

        auto panel = std::make_unique<FakeWatcher>(m_bus->connect(), false);
        QTRY_COMPARE(panel->items.size(), 1);
        QVERIFY(!tray.isPresent()); // it registered knowing there was no host
        panel->registerHost();
        QTRY_VERIFY(tray.isPresent());
        const QString service = panel->items[0];

        // The panel restarts.
        panel.reset();
        QTRY_VERIFY(!tray.isPresent());
        panel = std::make_unique<FakeWatcher>(m_bus->connect(), true);
        QTRY_COMPARE(panel->items, QStringList{service});
        QTRY_VERIFY(tray.isPresent());
        // Its host at once, as swaybar's: the host's signal overtakes the answer about the watcher.
        panel.reset();
        QTRY_VERIFY(!tray.isPresent());
        panel = std::make_unique<FakeWatcher>(m_bus->connect(), false);
        panel->registerHost();
        QTRY_COMPARE(panel->items, QStringList{service});
        QTRY_VERIFY(tray.isPresent());

        // What the panel reads of the item.
        QDBusConnection reader = m_bus->connect();
        QCOMPARE(property(reader, service, "ItemIsMenu").toBool(), false);
        QCOMPARE(property(reader, service, "Menu").value<QDBusObjectPath>().path(), u"/MenuBar"_qs);
        const auto pixmaps =
            qdbus_cast<QList<SniIconPixmap>>(property(reader, service, "IconPixmap"));
        QVERIFY(!pixmaps.isEmpty());
        for (const SniIconPixmap &pixmap : pixmaps) {
            QCOMPARE(pixmap.bytes.size(), pixmap.width * pixmap.height * 4);
            // Network byte order: alpha first, then red, green, blue.
            const QRgb centre = ConditionImage(3, pixmap.width)
                                    .convertToFormat(QImage::Format_ARGB32)
                                    .pixel(pixmap.width / 2, pixmap.height / 2);
            const qsizetype at =
                (qsizetype(pixmap.height / 2) * pixmap.width + pixmap.width / 2) * 4;
            const char argb[] = {char(qAlpha(centre)), char(qRed(centre)), char(qGreen(centre)),
                                 char(qBlue(centre))};
            QCOMPARE(pixmap.bytes.mid(at, 4), QByteArray(argb, 4));
        }
        QCOMPARE(qdbus_cast<SniToolTip>(property(reader, service, "ToolTip")).title,
                 u"Alert Notice: 30,000 MW"_qs);

        // The panel draws the menu from the bus and reports the chosen item; its clicks
        // reach the program as clicks, not buttons.
        const auto menu = [&](const QString &method, const QVariantList &arguments) {
            return call(reader, service, StatusNotifierItem::kMenuPath, "com.canonical.dbusmenu",
                        method, arguments);
        };
        const QDBusMessage reply =
            menu(u"GetLayout"_qs, {0, -1, QStringList{u"label"_qs, u"type"_qs, u"enabled"_qs}});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        const auto layout = qdbus_cast<DBusMenuLayoutItem>(reply.arguments().at(1));
        QCOMPARE(Labels(layout), (QStringList{u"_Details..."_qs, u"-"_qs, u"E_xit"_qs}));
        QCOMPARE(layout.children[2].properties.value(u"enabled"_qs).toBool(), false);

        QSignalSpy triggered(m_details, &QAction::triggered);
        menu(u"Event"_qs,
             {layout.children[0].id, u"clicked"_qs, QVariant::fromValue(QDBusVariant(0)), 0u});
        QTRY_COMPARE(triggered.size(), 1);

        // A change of the menu tells the panel to read it again.
        const uint revision = reply.arguments().at(0).toUInt();
        m_details->setText(u"&Details"_qs);
        QTRY_VERIFY(menu(u"GetLayout"_qs, {0, -1, QStringList()}).arguments().at(0).toUInt() >
                    revision);

        QList<TrayMouseEvent> events;
        connect(&tray, &TrayIcon::mouseEvent, this,
                [&events](TrayMouseEvent event) { events << event; });
        for (const QString &method : {u"Activate"_qs, u"SecondaryActivate"_qs, u"ContextMenu"_qs})
            call(reader, service, StatusNotifierItem::kItemPath, "org.kde.StatusNotifierItem",
                 method, {10, 20});
        QTRY_COMPARE(events, (QList<TrayMouseEvent>{TrayMouseEvent::PanelActivate,
                                                    TrayMouseEvent::PanelSecondaryActivate,
                                                    TrayMouseEvent::PanelContextMenu}));

        // Hidden, the item leaves the bus and the panel drops it.
        tray.hide();
        QVERIFY(!reader.interface()->isServiceRegistered(service).value());
        QVERIFY(!tray.isPresent());
    }
};

QTEST_MAIN(TestDesktopTrayIcon)
#include "test_desktop_tray_icon.moc"

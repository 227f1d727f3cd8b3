#pragma once

#include "status/tray_click_protocol.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QIcon>
#include <QObject>

class QMenu;

namespace voltwise {

class DBusMenuExporter;
class StatusNotifierItemAdaptor;

// a(iiay): one picture of the icon, ARGB32 in network byte order.
struct SniIconPixmap
{
    int width = 0;
    int height = 0;
    QByteArray bytes;
};

// (sa(iiay)ss)
struct SniToolTip
{
    QString iconName;
    QList<SniIconPixmap> pixmaps;
    QString title;
    QString description;
};

QDBusArgument &operator<<(QDBusArgument &argument, const SniIconPixmap &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argument, SniIconPixmap &pixmap);
QDBusArgument &operator<<(QDBusArgument &argument, const SniToolTip &tip);
const QDBusArgument &operator>>(const QDBusArgument &argument, SniToolTip &tip);

// The icon's pictures as panels take them, one per size.
QList<SniIconPixmap> SniPixmaps(const QIcon &icon);

// The icon as a StatusNotifierItem, the protocol of today's panels (KDE
// Plasma, GNOME's AppIndicator extension, XFCE, waybar and swaybar): an
// object on the session bus that a panel draws, with the menu offered
// beside it for the panel to draw at the icon.
class StatusNotifierItem : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kWatcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char *kWatcherPath = "/StatusNotifierWatcher";
    static constexpr const char *kItemPath = "/StatusNotifierItem";
    static constexpr const char *kMenuPath = "/MenuBar";

    StatusNotifierItem(QDBusConnection bus, QMenu *menu, QObject *parent = nullptr);
    ~StatusNotifierItem() override;

    QString serviceName() const { return m_service; }
    bool isPublished() const { return m_published; }

    // Puts the item and its menu on the bus; false when the bus refuses.
    bool publish();
    // Tells the panels' watcher about the item; a watcher that restarts
    // must be told again.
    void registerWithWatcher();
    // Takes the item off the bus: panels drop the icon.
    void withdraw();

    void setIcon(const QIcon &icon);
    void setToolTip(const QString &text);

    QList<SniIconPixmap> iconPixmaps() const { return m_pixmaps; }
    QString toolTipText() const { return m_toolTip; }

    // From the panel, as the adaptor hands them on.
    void panelEvent(TrayMouseEvent event) { Q_EMIT mouseEvent(event); }

Q_SIGNALS:
    void mouseEvent(voltwise::TrayMouseEvent event);
    // The watcher refused or could not be reached.
    void registrationFailed(const QString &message);

private:
    QDBusConnection m_bus;
    QMenu *m_menu;
    QString m_service;
    StatusNotifierItemAdaptor *m_adaptor = nullptr;
    DBusMenuExporter *m_menuExporter = nullptr;
    QList<SniIconPixmap> m_pixmaps;
    QString m_toolTip;
    bool m_published = false;
};

} // namespace voltwise

Q_DECLARE_METATYPE(voltwise::SniIconPixmap)
Q_DECLARE_METATYPE(voltwise::SniToolTip)

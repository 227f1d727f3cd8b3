#pragma once

#include "platform/gui/dbus_menu_types.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

class QAction;
class QMenu;

namespace voltwise {

class DBusMenuAdaptor;

// Offers a menu on the bus (com.canonical.dbusmenu), so that a panel draws it
// itself, at its icon, and reports the chosen item back. Items get ids of
// their own for the menu's lifetime; 0 is the menu itself.
class DBusMenuExporter : public QObject
{
    Q_OBJECT

public:
    // The menu stays the caller's; the export ends with the exporter.
    DBusMenuExporter(QDBusConnection bus, QString path, QMenu *menu, QObject *parent = nullptr);
    ~DBusMenuExporter() override;

    bool isExported() const { return m_exported; }
    QString path() const { return m_path; }
    uint revision() const { return m_revision; }

    // What the protocol asks; depth -1 is the whole tree, an empty list of
    // names all properties.
    uint layout(int parentId, int depth, const QStringList &names, DBusMenuLayoutItem &out);
    QList<DBusMenuItem> groupProperties(const QList<int> &ids, const QStringList &names);
    QVariant itemProperty(int id, const QString &name);
    // False for an id that names no item.
    bool handleEvent(int id, const QString &eventId);
    bool aboutToShow(int id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int idOf(QAction *action);
    QMenu *menuOf(int id) const;
    QVariantMap propertiesOf(QAction *action, const QStringList &names) const;
    DBusMenuLayoutItem layoutOf(int id, QMenu *menu, int depth, const QStringList &names);
    void watch(QMenu *menu);
    void layoutChanged();

    QDBusConnection m_bus;
    QString m_path;
    QPointer<QMenu> m_menu;
    DBusMenuAdaptor *m_adaptor = nullptr;
    QHash<QAction *, int> m_ids;
    QHash<int, QPointer<QAction>> m_actions;
    QSet<QMenu *> m_watched;
    int m_nextId = 1;
    uint m_revision = 1;
    bool m_updateQueued = false;
    bool m_exported = false;
};

} // namespace voltwise

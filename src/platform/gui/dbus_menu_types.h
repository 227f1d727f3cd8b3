#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace voltwise {

// The structures of the menu protocol panels draw from (com.canonical.dbusmenu).

// (ia{sv}av): an item, its properties and, as variants, its children.
struct DBusMenuLayoutItem
{
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// (ia{sv})
struct DBusMenuItem
{
    int id = 0;
    QVariantMap properties;
};

// (ias)
struct DBusMenuItemKeys
{
    int id = 0;
    QStringList properties;
};

// (isvu)
struct DBusMenuEvent
{
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

using DBusMenuItemList = QList<DBusMenuItem>;
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;
using DBusMenuEventList = QList<DBusMenuEvent>;

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuLayoutItem &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuLayoutItem &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItem &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItem &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemKeys &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemKeys &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuEvent &event);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuEvent &event);

// Once per process, before any of these crosses the bus.
void RegisterDBusMenuTypes();

} // namespace voltwise

Q_DECLARE_METATYPE(voltwise::DBusMenuLayoutItem)
Q_DECLARE_METATYPE(voltwise::DBusMenuItem)
Q_DECLARE_METATYPE(voltwise::DBusMenuItemKeys)
Q_DECLARE_METATYPE(voltwise::DBusMenuEvent)

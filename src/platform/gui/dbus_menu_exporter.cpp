#include "platform/gui/dbus_menu_exporter.h"

#include <QAction>
#include <QActionGroup>
#include <QDBusAbstractAdaptor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

namespace voltwise {

namespace {

// The menu's "&Exit" is the protocol's "_Exit"; a literal underscore doubles.
QString DBusMenuLabel(const QString &caption)
{
    QString label;
    label.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == u'&' && i + 1 < caption.size()) {
            label += caption[++i] == u'&' ? u'&' : u'_';
            if (caption[i] != u'&')
                label += caption[i] == u'_' ? u"__"_qs : QString(caption[i]);
        } else if (c == u'_') {
            label += u"__"_qs;
        } else {
            label += c;
        }
    }
    return label;
}

QVariantMap Filtered(QVariantMap properties, const QStringList &names)
{
    if (names.isEmpty())
        return properties;
    for (auto it = properties.begin(); it != properties.end();)
        it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
    return properties;
}

} // namespace

class DBusMenuAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version)
    Q_PROPERTY(QString TextDirection READ TextDirection)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(QStringList IconThemePath READ IconThemePath)

public:
    explicit DBusMenuAdaptor(DBusMenuExporter *exporter)
        : QDBusAbstractAdaptor(exporter)
        , m_exporter(exporter)
    {}

    uint Version() const { return 3; }
    QString TextDirection() const
    {
        return QGuiApplication::layoutDirection() == Qt::RightToLeft ? u"rtl"_qs : u"ltr"_qs;
    }
    QString Status() const { return u"normal"_qs; }
    QStringList IconThemePath() const { return {}; }

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                   voltwise::DBusMenuLayoutItem &layout)
    {
        return m_exporter->layout(parentId, recursionDepth, propertyNames, layout);
    }
    QList<voltwise::DBusMenuItem> GetGroupProperties(const QList<int> &ids,
                                                     const QStringList &propertyNames)
    {
        return m_exporter->groupProperties(ids, propertyNames);
    }
    QDBusVariant GetProperty(int id, const QString &name)
    {
        return QDBusVariant(m_exporter->itemProperty(id, name));
    }
    void Event(int id, const QString &eventId, const QDBusVariant &, uint)
    {
        m_exporter->handleEvent(id, eventId);
    }
    QList<int> EventGroup(const QList<voltwise::DBusMenuEvent> &events)
    {
        QList<int> unknown;
        for (const DBusMenuEvent &event : events)
            if (!m_exporter->handleEvent(event.id, event.eventId))
                unknown << event.id;
        return unknown;
    }
    bool AboutToShow(int id) { return m_exporter->aboutToShow(id); }
    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
    {
        for (const int id : ids)
            m_exporter->aboutToShow(id);
        idErrors.clear();
        return {};
    }

Q_SIGNALS:
    void ItemsPropertiesUpdated(const QList<voltwise::DBusMenuItem> &updatedProps,
                                const QList<voltwise::DBusMenuItemKeys> &removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    DBusMenuExporter *m_exporter;
};

DBusMenuExporter::DBusMenuExporter(QDBusConnection bus, QString path, QMenu *menu, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_path(std::move(path))
    , m_menu(menu)
{
    RegisterDBusMenuTypes();
    m_adaptor = new DBusMenuAdaptor(this);
    watch(menu);
    m_exported = m_bus.registerObject(m_path, this, QDBusConnection::ExportAdaptors);
}

DBusMenuExporter::~DBusMenuExporter()
{
    if (m_exported)
        m_bus.unregisterObject(m_path);
}

int DBusMenuExporter::idOf(QAction *action)
{
    if (const auto it = m_ids.constFind(action); it != m_ids.constEnd())
        return *it;
    const int id = m_nextId++;
    m_ids.insert(action, id);
    m_actions.insert(id, action);
    connect(action, &QObject::destroyed, this, [this, action, id] {
        m_ids.remove(action);
        m_actions.remove(id);
    });
    return id;
}

QMenu *DBusMenuExporter::menuOf(int id) const
{
    if (id == 0)
        return m_menu;
    const QAction *action = m_actions.value(id);
    return action ? action->menu() : nullptr;
}

QVariantMap DBusMenuExporter::propertiesOf(QAction *action, const QStringList &names) const
{
    QVariantMap properties;
    if (action->isSeparator()) {
        properties.insert(u"type"_qs, u"separator"_qs);
    } else {
        properties.insert(u"label"_qs, DBusMenuLabel(action->text()));
        if (action->isCheckable()) {
            const bool radio = action->actionGroup() && action->actionGroup()->isExclusive();
            properties.insert(u"toggle-type"_qs, radio ? u"radio"_qs : u"checkmark"_qs);
            properties.insert(u"toggle-state"_qs, action->isChecked() ? 1 : 0);
        }
        if (action->menu())
            properties.insert(u"children-display"_qs, u"submenu"_qs);
    }
    // The protocol's defaults are true: only the exceptions travel.
    if (!action->isEnabled())
        properties.insert(u"enabled"_qs, false);
    if (!action->isVisible())
        properties.insert(u"visible"_qs, false);
    return Filtered(properties, names);
}

DBusMenuLayoutItem DBusMenuExporter::layoutOf(int id, QMenu *menu, int depth,
                                              const QStringList &names)
{
    DBusMenuLayoutItem item;
    item.id = id;
    if (id == 0)
        item.properties.insert(u"children-display"_qs, u"submenu"_qs);
    else if (QAction *action = m_actions.value(id))
        item.properties = propertiesOf(action, names);
    if (!menu || depth == 0)
        return item;
    watch(menu);
    for (QAction *action : menu->actions()) {
        const int childId = idOf(action);
        item.children.append(layoutOf(childId, action->menu(), depth < 0 ? -1 : depth - 1, names));
    }
    return item;
}

uint DBusMenuExporter::layout(int parentId, int depth, const QStringList &names,
                              DBusMenuLayoutItem &out)
{
    out = layoutOf(parentId, menuOf(parentId), depth, names);
    return m_revision;
}

QList<DBusMenuItem> DBusMenuExporter::groupProperties(const QList<int> &ids,
                                                      const QStringList &names)
{
    QList<DBusMenuItem> items;
    // None asked for: all of them.
    for (const int id : ids.isEmpty() ? m_actions.keys() : ids)
        if (QAction *action = m_actions.value(id))
            items.append({id, propertiesOf(action, names)});
    return items;
}

QVariant DBusMenuExporter::itemProperty(int id, const QString &name)
{
    QAction *action = m_actions.value(id);
    return action ? propertiesOf(action, {name}).value(name) : QVariant();
}

bool DBusMenuExporter::handleEvent(int id, const QString &eventId)
{
    if (id != 0 && !m_actions.value(id))
        return false;
    if (eventId == u"clicked") {
        QAction *action = m_actions.value(id);
        // After the reply: what the item starts may run for a long time.
        if (action && action->isEnabled() && !action->isSeparator() && !action->menu())
            QTimer::singleShot(0, action, &QAction::trigger);
    } else if (eventId == u"opened") {
        if (QMenu *menu = menuOf(id))
            Q_EMIT menu->aboutToShow();
    } else if (eventId == u"closed") {
        if (QMenu *menu = menuOf(id))
            Q_EMIT menu->aboutToHide();
    }
    return true;
}

bool DBusMenuExporter::aboutToShow(int id)
{
    if (QMenu *menu = menuOf(id))
        Q_EMIT menu->aboutToShow();
    return false; // a change since shows as LayoutUpdated
}

void DBusMenuExporter::watch(QMenu *menu)
{
    if (menu && !m_watched.contains(menu)) {
        m_watched.insert(menu);
        menu->installEventFilter(this);
    }
}

bool DBusMenuExporter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionChanged:
    case QEvent::ActionRemoved:
        layoutChanged();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenuExporter::layoutChanged()
{
    // Several changes in a row make one update.
    if (m_updateQueued)
        return;
    m_updateQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_updateQueued = false;
        Q_EMIT m_adaptor->LayoutUpdated(++m_revision, 0);
    });
}

} // namespace voltwise

#include "dbus_menu_exporter.moc"

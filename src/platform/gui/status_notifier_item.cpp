#include "platform/gui/status_notifier_item.h"

#include "platform/gui/dbus_menu_exporter.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QImage>
#include <QtEndian>

namespace voltwise {

QDBusArgument &operator<<(QDBusArgument &argument, const SniIconPixmap &pixmap)
{
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.bytes;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, SniIconPixmap &pixmap)
{
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.bytes;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const SniToolTip &tip)
{
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.description;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, SniToolTip &tip)
{
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.description;
    argument.endStructure();
    return argument;
}

QList<SniIconPixmap> SniPixmaps(const QIcon &icon)
{
    QList<SniIconPixmap> pixmaps;
    for (const QSize &size : icon.availableSizes()) {
        const QImage image =
            icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        SniIconPixmap pixmap{image.width(), image.height(), {}};
        pixmap.bytes.resize(qsizetype(image.width()) * image.height() * 4);
        auto *out = reinterpret_cast<uchar *>(pixmap.bytes.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, out += 4)
                qToBigEndian<quint32>(row[x], out);
        }
        pixmaps.append(pixmap);
    }
    return pixmaps;
}

class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)
    Q_PROPERTY(QString IconThemePath READ Empty)
    Q_PROPERTY(QString IconName READ Empty)
    Q_PROPERTY(QList<voltwise::SniIconPixmap> IconPixmap READ IconPixmap)
    Q_PROPERTY(QString OverlayIconName READ Empty)
    Q_PROPERTY(QList<voltwise::SniIconPixmap> OverlayIconPixmap READ NoPixmaps)
    Q_PROPERTY(QString AttentionIconName READ Empty)
    Q_PROPERTY(QList<voltwise::SniIconPixmap> AttentionIconPixmap READ NoPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ Empty)
    Q_PROPERTY(voltwise::SniToolTip ToolTip READ ToolTip)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem *item)
        : QDBusAbstractAdaptor(item)
        , m_item(item)
    {}

    QString Category() const { return u"ApplicationStatus"_qs; }
    QString Id() const { return QCoreApplication::applicationName().toLower(); }
    QString Title() const { return QCoreApplication::applicationName(); }
    QString Status() const { return u"Active"_qs; }
    int WindowId() const { return 0; }
    // A click is the program's own (its main window), the menu the panel's.
    bool ItemIsMenu() const { return false; }
    QDBusObjectPath Menu() const
    {
        return QDBusObjectPath(QString::fromLatin1(StatusNotifierItem::kMenuPath));
    }
    QString Empty() const { return {}; }
    QList<SniIconPixmap> IconPixmap() const { return m_item->iconPixmaps(); }
    QList<SniIconPixmap> NoPixmaps() const { return {}; }
    SniToolTip ToolTip() const { return {{}, {}, m_item->toolTipText(), {}}; }

public Q_SLOTS:
    void Activate(int, int) { m_item->panelEvent(TrayMouseEvent::PanelActivate); }
    void SecondaryActivate(int, int) { m_item->panelEvent(TrayMouseEvent::PanelSecondaryActivate); }
    void ContextMenu(int, int) { m_item->panelEvent(TrayMouseEvent::PanelContextMenu); }
    void Scroll(int, const QString &) {}

Q_SIGNALS:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString &status);

private:
    StatusNotifierItem *m_item;
};

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QMenu *menu, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_menu(menu)
{
    static int instances = 0;
    m_service = u"org.kde.StatusNotifierItem-%1-%2"_qs.arg(QCoreApplication::applicationPid())
                    .arg(++instances);
    qDBusRegisterMetaType<SniIconPixmap>();
    qDBusRegisterMetaType<QList<SniIconPixmap>>();
    qDBusRegisterMetaType<SniToolTip>();
    m_adaptor = new StatusNotifierItemAdaptor(this);
}

StatusNotifierItem::~StatusNotifierItem()
{
    withdraw();
}

bool StatusNotifierItem::publish()
{
    if (m_published)
        return true;
    const QString path = QString::fromLatin1(kItemPath);
    if (!m_bus.registerObject(path, this, QDBusConnection::ExportAdaptors))
        return false;
    m_menuExporter = new DBusMenuExporter(m_bus, QString::fromLatin1(kMenuPath), m_menu, this);
    m_published = m_bus.registerService(m_service);
    if (!m_published) {
        delete m_menuExporter;
        m_menuExporter = nullptr;
        m_bus.unregisterObject(path);
    }
    return m_published;
}

void StatusNotifierItem::registerWithWatcher()
{
    if (!m_published)
        return;
    const QString watcher = QString::fromLatin1(kWatcherService);
    QDBusMessage call = QDBusMessage::createMethodCall(watcher, QString::fromLatin1(kWatcherPath),
                                                       watcher, u"RegisterStatusNotifierItem"_qs);
    call << m_service;
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (w->isError())
            Q_EMIT registrationFailed(w->error().message());
    });
}

void StatusNotifierItem::withdraw()
{
    if (!m_published)
        return;
    m_published = false;
    // The name goes first: panels drop the icon when its owner leaves.
    m_bus.unregisterService(m_service);
    delete m_menuExporter;
    m_menuExporter = nullptr;
    m_bus.unregisterObject(QString::fromLatin1(kItemPath));
}

void StatusNotifierItem::setIcon(const QIcon &icon)
{
    m_pixmaps = SniPixmaps(icon);
    if (m_published)
        Q_EMIT m_adaptor->NewIcon();
}

void StatusNotifierItem::setToolTip(const QString &text)
{
    if (text == m_toolTip)
        return;
    m_toolTip = text;
    if (m_published)
        Q_EMIT m_adaptor->NewToolTip();
}

} // namespace voltwise

#include "status_notifier_item.moc"

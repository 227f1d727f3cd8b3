#include "platform/gui/desktop_tray_icon.h"

#include "platform/gui/status_notifier_item.h"
#include "platform/gui/status_notifier_watch.h"
#include "status/gui/tray_activation.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace voltwise {

DesktopTrayIcon::DesktopTrayIcon(QDBusConnection bus, QMenu *menu, QObject *parent)
    : TrayIcon(parent)
    , m_watch(new StatusNotifierHostWatch(bus, this))
    , m_item(new StatusNotifierItem(bus, menu, this))
    , m_embeddingPossible(QGuiApplication::platformName() == u"xcb")
{
    connect(m_item, &StatusNotifierItem::mouseEvent, this, &TrayIcon::mouseEvent);
    connect(m_item, &StatusNotifierItem::registrationFailed, this, [](const QString &message) {
        qWarning("voltwise: the panel did not take the icon: %s", qPrintable(message));
    });
    connect(m_watch, &StatusNotifierHostWatch::watcherAppeared, this,
            &DesktopTrayIcon::registerItem);
    connect(m_watch, &StatusNotifierHostWatch::settled, this, &DesktopTrayIcon::update);
    connect(m_watch, &StatusNotifierHostWatch::hostPresenceChanged, this, &DesktopTrayIcon::update);
}

DesktopTrayIcon::~DesktopTrayIcon() = default;

void DesktopTrayIcon::setIcon(const QIcon &icon)
{
    // Every refresh sets the icon; panels fetch the pictures anew on a change.
    if (icon.cacheKey() == m_icon.cacheKey())
        return;
    m_icon = icon;
    m_item->setIcon(icon);
    if (m_embedded)
        m_embedded->setIcon(icon);
}

void DesktopTrayIcon::setToolTip(const QString &text)
{
    m_toolTip = text;
    m_item->setToolTip(text);
    if (m_embedded)
        m_embedded->setToolTip(text);
}

void DesktopTrayIcon::show()
{
    m_shown = true;
    registerItem();
    update();
}

void DesktopTrayIcon::hide()
{
    m_shown = false;
    m_item->withdraw();
    update();
}

bool DesktopTrayIcon::isPresent() const
{
    if (m_shown && m_item->isPublished() && m_watch->isHostPresent())
        return true;
    return m_embedded && QSystemTrayIcon::isSystemTrayAvailable();
}

void DesktopTrayIcon::registerItem()
{
    if (m_shown && m_watch->isWatcherPresent() && m_item->publish())
        m_item->registerWithWatcher();
}

void DesktopTrayIcon::update()
{
    // The embedded icon stands in only where no panel draws items, so that
    // a desktop with both never shows the icon twice.
    const bool embed =
        m_shown && m_embeddingPossible && m_watch->isSettled() && !m_watch->isHostPresent();
    if (embed && !m_embedded) {
        m_embedded = new QSystemTrayIcon(m_icon, this);
        m_embedded->setObjectName(u"trayIcon"_qs);
        m_embedded->setToolTip(m_toolTip);
        connect(m_embedded, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    Q_EMIT mouseEvent(TrayMouseEventFor(reason));
                });
        m_embedded->show();
    } else if (!embed && m_embedded) {
        delete m_embedded;
    }
}

} // namespace voltwise

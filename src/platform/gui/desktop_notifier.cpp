#include "platform/gui/desktop_notifier.h"

#include "notificationsproxy.h"
#include "status/notice_style.h"

#include <QDBusPendingReply>
#include <QPointer>
#include <qcoro/qcorodbuspendingreply.h>

namespace voltwise {

namespace {

// A server started on demand by the bus takes a moment; a hung one must not
// hold the notice back for D-Bus's own 25 seconds.
constexpr int kCallTimeoutMs = 5000;

} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection &bus, BrowserOpener &browser,
                                 QObject *parent)
    : QObject(parent)
    , m_server(new NotificationsProxy(u"org.freedesktop.Notifications"_qs,
                                      u"/org/freedesktop/Notifications"_qs, bus, this))
    , m_browser(browser)
{
    m_server->setTimeout(kCallTimeoutMs);
    connect(m_server, &NotificationsProxy::ActionInvoked, this, &DesktopNotifier::openLink);
    connect(m_server, &NotificationsProxy::NotificationClosed, this,
            [this](uint id) { m_links.remove(id); });
}

DesktopNotifier::~DesktopNotifier() = default;

QCoro::Task<bool> DesktopNotifier::show(ChangeNotice notice, int level)
{
    QPointer<DesktopNotifier> self(this);
    const QDBusPendingReply<QStringList> capabilities = co_await m_server->GetCapabilities();
    if (!self || capabilities.isError())
        co_return false;
    const bool markup = capabilities.value().contains(u"body-markup"_qs);
    const DesktopNotification n = NotificationForNotice(notice, level, markup, m_lastId);
    const QDBusPendingReply<uint> id = co_await m_server->Notify(
        n.appName, n.replacesId, n.appIcon, n.summary, n.body, n.actions, n.hints, n.expireTimeout);
    if (!self || id.isError())
        co_return false;
    // Kept after the notification closes: a notification centre that keeps
    // closed ones then still shows only the latest.
    m_lastId = id.value();
    m_links.insert(m_lastId, notice.ClickURL);
    co_return true;
}

void DesktopNotifier::openLink(uint id, const QString &actionKey)
{
    // The server tells every listener of every program's notifications.
    const auto link = m_links.constFind(id);
    if (link == m_links.cend())
        return;
    if (actionKey != DesktopNotification::kDefaultAction &&
        actionKey != DesktopNotification::kDetailsAction)
        return;
    QString url = link->toString();
    OpenInBrowser(url, m_browser);
}

} // namespace voltwise

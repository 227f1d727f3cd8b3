#pragma once

#include "platform/browser.h"
#include "status/change_alert.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QUrl>
#include <qcoro/qcorotask.h>

class NotificationsProxy;

namespace voltwise {

// Hands the notice of a changed status to the desktop's notification server
// (org.freedesktop.Notifications) and opens its link when the user clicks the
// notification. Each notification replaces the one before.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    DesktopNotifier(const QDBusConnection &bus, BrowserOpener &browser, QObject *parent = nullptr);
    ~DesktopNotifier() override;

    // False when no server took the notification (none on the bus, an error,
    // no answer in time); the caller then shows the notice in its own window.
    QCoro::Task<bool> show(ChangeNotice notice, int level);

private:
    void openLink(uint id, const QString &actionKey);

    NotificationsProxy *m_server;
    BrowserOpener &m_browser;
    uint m_lastId = 0;
    QHash<uint, QUrl> m_links; // of the notifications still open
};

} // namespace voltwise

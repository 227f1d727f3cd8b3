#pragma once

#include "status/change_alert.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace voltwise {

// Where the notice of a changed status goes: the program's own pop-up
// window or the desktop's notification server.
enum class NoticeStyle
{
    Auto,
    Window,
    Desktop,
};

// "Auto", "Window" or "Desktop", letter case aside; anything else is Auto.
NoticeStyle NoticeStyleFromText(const QString &text);
QString NoticeStyleText(NoticeStyle style);

// True when the notice goes to the notification server. Auto sends it there
// only where the program cannot place its window (Wayland). Should the server
// be missing or refuse it, the pop-up window shows it after all.
bool NoticeGoesToDesktop(NoticeStyle style, bool windowsCanBePlaced);

// The urgency a notification server knows: 0 low, 1 normal, 2 critical.
enum class NotificationUrgency : uchar
{
    Low = 0,
    Normal = 1,
    Critical = 2,
};

// Normal grid low, alert and warning normal, an emergency critical.
NotificationUrgency UrgencyForLevel(int level);

// The arguments of org.freedesktop.Notifications.Notify.
struct DesktopNotification
{
    static constexpr QLatin1String kDefaultAction{"default"};
    static constexpr QLatin1String kDetailsAction{"details"};

    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions; // key, label, key, label...
    QVariantMap hints;
    int expireTimeout = -1; // the server's own, which the user sets there
};

// The notification for a notice at a condition level; replacesId is the
// previous one's, so that the notification centre keeps only the latest.
// bodyMarkup: the server reads the body as markup.
DesktopNotification NotificationForNotice(const ChangeNotice &notice, int level, bool bodyMarkup,
                                          uint replacesId);

} // namespace voltwise

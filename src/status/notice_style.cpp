#include "status/notice_style.h"

#include "model/grid_status.h"
#include "status/program_name.h"

namespace voltwise {

NoticeStyle NoticeStyleFromText(const QString &text)
{
    const QString name = text.trimmed();
    for (const NoticeStyle style : {NoticeStyle::Window, NoticeStyle::Desktop}) {
        if (name.compare(NoticeStyleText(style), Qt::CaseInsensitive) == 0)
            return style;
    }
    return NoticeStyle::Auto;
}

QString NoticeStyleText(NoticeStyle style)
{
    switch (style) {
    case NoticeStyle::Window:
        return u"Window"_qs;
    case NoticeStyle::Desktop:
        return u"Desktop"_qs;
    case NoticeStyle::Auto:
        break;
    }
    return u"Auto"_qs;
}

bool NoticeGoesToDesktop(NoticeStyle style, bool windowsCanBePlaced)
{
    switch (style) {
    case NoticeStyle::Window:
        return false;
    case NoticeStyle::Desktop:
        return true;
    case NoticeStyle::Auto:
        break;
    }
    return !windowsCanBePlaced;
}

NotificationUrgency UrgencyForLevel(int level)
{
    if (level >= LevelStage1)
        return NotificationUrgency::Critical;
    if (level >= LevelAlert)
        return NotificationUrgency::Normal;
    return NotificationUrgency::Low;
}

DesktopNotification NotificationForNotice(const ChangeNotice &notice, int level, bool bodyMarkup,
                                          uint replacesId)
{
    DesktopNotification n;
    n.appName = u"Voltwise"_qs;
    n.replacesId = replacesId;
    n.appIcon = kProgramIconName.toString();
    n.summary = notice.NoticeHeader;
    // The operator's text comes from the network: it must not be read as tags.
    n.body = bodyMarkup ? notice.NoticeText.toHtmlEscaped() : notice.NoticeText;
    n.actions = {DesktopNotification::kDefaultAction, notice.ClickText,
                 DesktopNotification::kDetailsAction, notice.ClickText};
    n.hints = {
        {u"desktop-entry"_qs, kProgramIconName.toString()},
        {u"urgency"_qs, QVariant::fromValue(uchar(UrgencyForLevel(level)))},
        // The program plays its own chime.
        {u"suppress-sound"_qs, true},
    };
    return n;
}

} // namespace voltwise

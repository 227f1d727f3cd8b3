#include "status/change_alert.h"

#include "core/conversions.h"
#include "core/server_urls.h"
#include "model/grid_status.h"

#include <QCoreApplication>

namespace voltwise {

ChangeAlert::ChangeAlert(QUrl contentServer)
    : m_statusPage(ServerUrls::resolve(contentServer, QStringLiteral("/awe/SP/systemstatus.html")))
{}

std::optional<ChangeNotice> ChangeAlert::check(const QString &statusTableText, int level,
                                               const QString &statusText, double actualDemand,
                                               bool playSound, const QLocale &locale)
{
    if (statusTableText == m_lastAnnouncedStatus)
        return std::nullopt;
    if (level == LevelUnknown)
        return std::nullopt;
    m_lastAnnouncedStatus = statusTableText;

    ChangeNotice notice;
    notice.NoticeHeader = statusText + QStringLiteral(": ") +
                          FormatWholeNumber(actualDemand, locale) + QStringLiteral(" MW");
    notice.NoticeText = statusTableText;
    notice.ClickText = QCoreApplication::translate("Notice", "Click here for details...");
    notice.ClickURL = m_statusPage;
    notice.Delay = 7000;
    notice.PlaySound = playSound;
    return notice;
}

} // namespace voltwise

#include "status/change_alert.h"

#include "core/conversions.h"
#include "core/server_urls.h"
#include "feeds/feed_paths.h"
#include "model/grid_status.h"

#include <QCoreApplication>

namespace voltwise {

QUrl NoticeLinkPage(const ServerUrls &servers)
{
    if (servers.feeds == FeedSource::Classic)
        return ServerUrls::resolve(servers.gridContent, kStatusPagePath.toString());
    return ServerUrls::resolve(servers.gridMain, kTodaysOutlookPath.toString());
}

ChangeAlert::ChangeAlert(const ServerUrls &servers)
    : m_statusPage(NoticeLinkPage(servers))
{}

ChangeAlert::ChangeAlert(const QUrl &contentServer)
    : m_statusPage(ServerUrls::resolve(contentServer, kStatusPagePath.toString()))
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

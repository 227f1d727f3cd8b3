#pragma once

#include <QLatin1String>
#include <QStringView>
#include <QUrl>

namespace voltwise {

// The servers of a first start.
inline constexpr QLatin1String kDefaultGridMainUrl("https://www.caiso.com");
inline constexpr QLatin1String kDefaultGridContentUrl("http://content.caiso.com");
inline constexpr QLatin1String kDefaultMakerUrl("https://www.ternwood.example");
inline constexpr QLatin1String kDefaultFlexAlertsUrl("https://wwwmobile.caiso.com");
inline constexpr QLatin1String kDefaultPgeUrl("https://www.pge.com");
inline constexpr QLatin1String kDefaultSceUrl("https://www.sce.com");
inline constexpr QLatin1String kDefaultSdgeUrl("https://www.sdge.com");
inline constexpr QLatin1String kDefaultSdgeBlackoutUrl("https://www.sdge.com");

// The operator's classic status page: read by the classic refresh, and
// linked from a notice of a changed status.
inline constexpr QStringView kStatusPagePath = u"/awe/SP/systemstatus.html";

// Which publications a refresh reads: the operator's feeds of today, or the
// classic status file and pages (kept for mirrors of them and the simulator).
enum class FeedSource
{
    Current,
    Classic,
};

// Base addresses (scheme://host[:port]) of the servers the program talks to,
// and the feeds it reads from them.
struct ServerUrls
{
    QUrl gridMain;    // the grid operator's main web server
    QUrl gridContent; // the grid operator's content server
    QUrl maker;       // the maker's web server (updates, help)
    QUrl flexAlerts;  // the grid operator's Flex Alert service
    FeedSource feeds = FeedSource::Current;
    // The utilities' web servers, for the link menus.
    QUrl pge = QUrl(QString(kDefaultPgeUrl));
    QUrl sce = QUrl(QString(kDefaultSceUrl));
    QUrl sdge = QUrl(QString(kDefaultSdgeUrl));
    QUrl sdgeBlackout = QUrl(QString(kDefaultSdgeBlackoutUrl)); // its blackout status

    static ServerUrls defaults()
    {
        return {QUrl(QString(kDefaultGridMainUrl)), QUrl(QString(kDefaultGridContentUrl)),
                QUrl(QString(kDefaultMakerUrl)), QUrl(QString(kDefaultFlexAlertsUrl)),
                FeedSource::Current};
    }

    // base + path, keeping the base's scheme, host and port.
    static QUrl resolve(const QUrl &base, const QString &path)
    {
        QUrl url = base;
        url.setPath(path);
        return url;
    }
};

} // namespace voltwise

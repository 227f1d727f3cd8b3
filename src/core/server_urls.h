#pragma once

#include <QUrl>

namespace voltwise {

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

    static ServerUrls defaults()
    {
        return {QUrl(QStringLiteral("https://www.caiso.com")),
                QUrl(QStringLiteral("http://content.caiso.com")),
                QUrl(QStringLiteral("http://www.ternwood.example")),
                QUrl(QStringLiteral("https://wwwmobile.caiso.com")), FeedSource::Current};
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

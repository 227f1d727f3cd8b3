#pragma once

#include <QLatin1String>
#include <QUrl>

namespace voltwise {

// The servers of a first start.
inline constexpr QLatin1String kDefaultGridMainUrl("http://www.caiso.com");
inline constexpr QLatin1String kDefaultGridContentUrl("http://content.caiso.com");
inline constexpr QLatin1String kDefaultMakerUrl("http://www.ternwood.example");

// Base addresses (scheme://host[:port]) of the servers the program talks to.
struct ServerUrls
{
    QUrl gridMain;    // the grid operator's main web server
    QUrl gridContent; // the grid operator's content server
    QUrl maker;       // the maker's web server (updates, help)

    static ServerUrls defaults()
    {
        return {QUrl(QString(kDefaultGridMainUrl)), QUrl(QString(kDefaultGridContentUrl)),
                QUrl(QString(kDefaultMakerUrl))};
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

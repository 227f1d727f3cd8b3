#pragma once

#include <QUrl>

namespace voltwise {

// Base addresses (scheme://host[:port]) of the servers the program talks to.
struct ServerUrls
{
    QUrl gridMain;    // the grid operator's main web server
    QUrl gridContent; // the grid operator's content server
    QUrl maker;       // the maker's web server (updates, help)

    static ServerUrls defaults()
    {
        return {QUrl(QStringLiteral("http://www.caiso.com")),
                QUrl(QStringLiteral("http://content.caiso.com")),
                QUrl(QStringLiteral("https://www.ternwood.example"))};
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

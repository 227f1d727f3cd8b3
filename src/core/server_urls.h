#pragma once

#include <QUrl>

namespace voltwise {

// Base addresses (scheme://host[:port]) of the servers the program talks to.
struct ServerUrls
{
    QUrl gridMain;    // the grid operator's main web server
    QUrl gridContent; // the grid operator's content server
    QUrl maker;       // the maker's web server (updates, help)
    QUrl pge;         // the three utilities' web servers, for the link menus
    QUrl sce;
    QUrl sdge;
    QUrl sdgeBlackout; // SDG&E's blackout status server

    static ServerUrls defaults()
    {
        return {QUrl(QStringLiteral("http://www.caiso.com")),
                QUrl(QStringLiteral("http://content.caiso.com")),
                QUrl(QStringLiteral("http://www.ternwood.example")),
                QUrl(QStringLiteral("https://www.pge.com")),
                QUrl(QStringLiteral("https://www.sce.com")),
                QUrl(QStringLiteral("https://www.sdge.com")),
                QUrl(QStringLiteral("https://www.sdge.com"))};
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

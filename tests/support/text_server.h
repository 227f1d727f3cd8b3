#pragma once

#include <QAbstractHttpServer>
#include <QHash>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <memory>

namespace voltwise::testing {

// Answers each path with its text (status 200) and any other with 404;
// remembers every request's path and query.
class TextServer final : public QAbstractHttpServer
{
public:
    // A free loopback port without 403 or 404 in it (a descriptor naming
    // such a port counts as absent). False when none could be bound.
    bool start()
    {
        for (int attempt = 0; attempt < 20; ++attempt) {
            auto server = std::make_unique<QTcpServer>();
            if (!server->listen(QHostAddress::LocalHost, 0))
                return false;
            const QString port = QString::number(server->serverPort());
            if (!port.contains(u"403") && !port.contains(u"404")) {
                bind(server.release());
                return true;
            }
        }
        return false;
    }

    QString url(const QString &path) const
    {
        return u"http://127.0.0.1:%1%2"_qs.arg(servers().value(0)->serverPort()).arg(path);
    }

    QHash<QString, QByteArray> texts;
    QStringList requests; // "path?query"

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        const QString path = request.url().path();
        requests << path + u'?' + request.url().query();
        QHttpServerResponder responder = makeResponder(request, socket);
        if (texts.contains(path))
            responder.write(texts.value(path), "text/plain; charset=utf-8");
        else
            responder.write(QHttpServerResponder::StatusCode::NotFound);
        return true;
    }

    void missingHandler(const QHttpServerRequest &, QTcpSocket *) override {}
};

} // namespace voltwise::testing

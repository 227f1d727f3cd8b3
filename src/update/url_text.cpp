#include "update/url_text.h"

#include "core/completion.h"
#include "core/download/charset_decoding.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace voltwise {

namespace {

bool IsBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

} // namespace

HttpUrlTextSource::HttpUrlTextSource(TimerFactory &timers, QObject *parent)
    : QObject(parent)
    , m_timers(timers)
    , m_manager(new QNetworkAccessManager(this))
{}

HttpUrlTextSource::~HttpUrlTextSource()
{
    m_closing = true;
    abort();
}

void HttpUrlTextSource::abort()
{
    const auto replies = m_inFlight;
    for (const QPointer<QNetworkReply> &reply : replies)
        if (reply)
            reply->abort();
}

QCoro::Task<QString> HttpUrlTextSource::GetURLText(QString url)
{
    if (IsBlank(url) || m_closing)
        co_return QString();
    // The URL goes out as given, untrimmed: one that blanks make invalid fails.
    const QUrl target(url, QUrl::StrictMode);
    const QString scheme = target.scheme();
    if (!target.isValid() || target.host().isEmpty() || (scheme != u"http" && scheme != u"https"))
        co_return QString();

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QPointer<QNetworkReply> reply = m_manager->get(request);
    m_inFlight.append(reply);

    QByteArray body;
    const std::unique_ptr<OneShotTimer> silence = m_timers.create([reply] {
        if (reply)
            reply->abort();
    });
    silence->start(kTimeout);
    const auto restart = [timer = silence.get()] {
        timer->start(kTimeout);
    };
    connect(reply, &QNetworkReply::socketStartedConnecting, this, restart);
    connect(reply, &QNetworkReply::requestSent, this, restart);
    connect(reply, &QNetworkReply::metaDataChanged, this, restart);
    connect(reply, &QNetworkReply::readyRead, this, [&, reply, restart] {
        restart();
        body += reply->readAll();
        if (body.size() > kMaxBodySize)
            reply->abort();
    });

    // Resumed within finished(), so that abort() ends the request at once.
    const auto finished = std::make_shared<Completion<bool>>();
    connect(reply, &QNetworkReply::finished, this, [finished] { finished->set(true); });
    co_await *finished;

    m_inFlight.removeAll(reply);
    reply->disconnect(this);
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen())
        body += reply->readAll();
    if (body.size() > kMaxBodySize || reply->error() != QNetworkReply::NoError || status != 200)
        co_return QString();
    co_return DecodeText(body, CharsetOf(reply->rawHeader("Content-Type")));
}

} // namespace voltwise

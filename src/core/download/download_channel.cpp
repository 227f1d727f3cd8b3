#include "core/download/download_channel.h"

#include "core/download/charset_decoding.h"
#include "core/timers.h"

#include <QCoro/QCoroNetworkReply>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>
#include <memory>

namespace voltwise {

QString DownloadResult::text() const
{
    return DecodeText(body, CharsetOf(contentType));
}

namespace {

// What QNAM may buffer ahead of us; keeps a flood from the server in check.
constexpr qint64 kReadBufferSize = 256 * 1024;

enum class StopReason
{
    None,
    TimedOut,
    TooLarge,
    CutShort,
    Aborted
};

int g_transfersAlive = 0;

// The state of one fetch, shared by its coroutine and the reply's handlers.
struct Transfer
{
    Transfer() { ++g_transfersAlive; }
    ~Transfer() { --g_transfersAlive; }
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    QPointer<QNetworkReply> reply;
    qint64 maxBodySize = 0;
    QByteArray body;
    StopReason reason = StopReason::None;
    QString why; // of a time-out imposed from outside
    bool receiving = false;
    bool done = false;
    // Set when the channel is destroyed mid-transfer: the coroutine may then
    // touch nothing of the channel, and keeps the manager alive until the
    // reply is gone.
    bool orphaned = false;
    std::shared_ptr<QNetworkAccessManager> orphanedManager;
    // Owned here and calling back with a plain pointer: no timer outlives
    // the transfer or keeps it, and its body, alive.
    std::unique_ptr<OneShotTimer> idle;
    std::unique_ptr<OneShotTimer> overall;
    // Ours alone: QNAM's own connections of the reply must stay, or an
    // abort never reaches the connection, which then stays busy.
    QList<QMetaObject::Connection> connections;

    void releaseTimers()
    {
        idle.reset();
        overall.reset();
    }

    void stop(StopReason why)
    {
        if (done || !reply)
            return;
        reason = why;
        if (why == StopReason::TooLarge)
            body = QByteArray();
        reply->abort();
    }

    // Reads at most one byte beyond the limit, so an oversized body is never
    // held whole.
    void take()
    {
        if (!reply || !reply->isOpen() || reason != StopReason::None)
            return;
        const qint64 wanted = std::min(maxBodySize - body.size() + 1, reply->bytesAvailable());
        if (wanted > 0)
            body += reply->read(wanted);
        if (body.size() > maxBodySize)
            stop(StopReason::TooLarge);
    }

    void checkAnnouncedLength()
    {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBodySize)
            stop(StopReason::TooLarge);
    }

    // QNAM ends a body that the server closes early as if it were whole, or
    // says no more than that the connection closed (it drops the length it
    // decompresses, so the header is the body's). Its other errors name their
    // cause: a refused redirect leaves the redirect's announced length unread.
    void checkReceivedLength()
    {
        const QNetworkReply::NetworkError error = reply->error();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (reason == StopReason::None &&
            (error == QNetworkReply::NoError || error == QNetworkReply::RemoteHostClosedError) &&
            length.isValid() && body.size() < length.toLongLong())
            reason = StopReason::CutShort;
    }
};

// The errors QNAM derives from an HTTP status of 400 and above, as opposed to
// a failed transfer.
bool IsHttpStatusError(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError) ||
           error == QNetworkReply::ProtocolInvalidOperationError ||
           error == QNetworkReply::ProxyAuthenticationRequiredError;
}

// Public services like to know who asks.
QByteArray UserAgent()
{
    return "Voltwise/" + QByteArray::number(VOLTWISE_VERSION_MAJOR) + '.' +
           QByteArray::number(VOLTWISE_VERSION_MINOR) + '.' +
           QByteArray::number(VOLTWISE_VERSION_PATCH) + " (California grid status monitor)";
}

} // namespace

class DownloadChannel::Private
{
public:
    explicit Private(DownloadChannel *q)
        : q(q)
        , manager(new QNetworkAccessManager)
    {}

    void report(DownloadState state, int code = 0, const QString &text = {})
    {
        Q_EMIT q->stateChanged(int(state));
        if (const auto message = ProgressText(int(state), code, text))
            Q_EMIT q->progressText(*message);
    }

    DownloadChannel *q;
    QNetworkAccessManager *manager;
    TimerFactory *timers = &SystemTimers();
    std::chrono::milliseconds timeout = kDefaultTimeout;
    std::chrono::milliseconds overallTimeout = kDefaultOverallTimeout;
    qint64 maxBodySize = kDefaultMaxBodySize;
    QList<std::shared_ptr<Transfer>> inFlight;
};

DownloadChannel::DownloadChannel(QObject *parent)
    : QObject(parent)
    , d(new Private(this))
{}

DownloadChannel::~DownloadChannel()
{
    if (d->inFlight.isEmpty()) {
        delete d->manager;
    } else {
        // Deleting the manager would delete the replies without finishing
        // them, and their coroutines would never resume. Abort them from the
        // event loop instead, once this channel is gone, and let the last of
        // them take the manager along.
        const std::shared_ptr<QNetworkAccessManager> manager(
            d->manager, [](QNetworkAccessManager *m) { m->deleteLater(); });
        for (const std::shared_ptr<Transfer> &t : std::as_const(d->inFlight)) {
            t->releaseTimers(); // the abort below ends the transfer
            t->orphaned = true;
            t->orphanedManager = manager;
            if (t->reply)
                QMetaObject::invokeMethod(t->reply, &QNetworkReply::abort, Qt::QueuedConnection);
        }
    }
    delete d;
}

void DownloadChannel::setTimeout(std::chrono::milliseconds timeout)
{
    d->timeout = timeout;
}

void DownloadChannel::setOverallTimeout(std::chrono::milliseconds overall)
{
    d->overallTimeout = overall;
}

void DownloadChannel::setMaxBodySize(qint64 bytes)
{
    d->maxBodySize = bytes;
}

void DownloadChannel::setTimers(TimerFactory &timers)
{
    d->timers = &timers;
}

int DownloadChannel::transfersAlive()
{
    return g_transfersAlive;
}

void DownloadChannel::abort()
{
    // Each abort resumes its fetch at once, which removes it from the list.
    const auto transfers = d->inFlight;
    for (const std::shared_ptr<Transfer> &t : transfers)
        t->stop(StopReason::Aborted);
}

void DownloadChannel::timeOut(const QString &why)
{
    const auto transfers = d->inFlight;
    for (const std::shared_ptr<Transfer> &t : transfers) {
        t->why = why;
        t->stop(StopReason::TimedOut);
    }
}

TimerFactory &DownloadChannel::timers() const
{
    return *d->timers;
}

void DownloadChannel::reportRefused(int code, const QString &why)
{
    d->report(DownloadState::Error, code, why);
}

QCoro::Task<DownloadResult> DownloadChannel::fetch(QUrl url, QByteArray accept)
{
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https") {
        d->report(DownloadState::Error, QNetworkReply::ProtocolUnknownError,
                  u"Protocol \"%1\" is not supported"_qs.arg(url.scheme()));
        co_return DownloadResult{};
    }

    auto t = std::make_shared<Transfer>();
    t->maxBodySize = d->maxBodySize;
    d->report(DownloadState::Requesting);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    // Nothing compressed is asked for, so nothing is inflated: a server that
    // sends a compressed bomb anyway hands over its few packed bytes as they
    // are, which no reader takes for data.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    if (!accept.isEmpty())
        request.setRawHeader("Accept", accept);
    QNetworkReply *reply = d->manager->get(request);
    reply->setReadBufferSize(kReadBufferSize);
    t->reply = reply;
    d->inFlight.append(t);

    // The time-out counts from the last sign of life, so a large answer that
    // keeps arriving is not cut off; a trickle still ends at the overall cap.
    Transfer *raw = t.get();
    t->idle = d->timers->create([raw] { raw->stop(StopReason::TimedOut); });
    t->overall = d->timers->create([raw] { raw->stop(StopReason::TimedOut); });
    // Progress goes through the channel and stops with it; the body is
    // collected by the transfer.
    t->connections = {
        connect(reply, &QNetworkReply::socketStartedConnecting, this,
                [this] { d->report(DownloadState::Connecting); }),
        connect(reply, &QNetworkReply::requestSent, this,
                [this] { d->report(DownloadState::RequestSent); }),
        connect(reply, &QNetworkReply::metaDataChanged, this,
                [this, t] {
                    if (!t->receiving) {
                        t->receiving = true;
                        d->report(DownloadState::ReceivingResponse);
                    }
                }),
        connect(reply, &QNetworkReply::metaDataChanged, reply, [t] { t->checkAnnouncedLength(); }),
        connect(reply, &QNetworkReply::readyRead, reply,
                [t, timeout = d->timeout] {
                    if (t->idle)
                        t->idle->start(timeout);
                    t->take();
                }),
    };
    t->idle->start(d->timeout);
    t->overall->start(d->overallTimeout);

    co_await reply;

    t->take();
    t->checkReceivedLength();
    t->done = true;
    t->releaseTimers();
    const QNetworkReply::NetworkError error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString errorText = reply->errorString();
    const QString reasonPhrase =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const bool transferred =
        t->reason == StopReason::None &&
        (error == QNetworkReply::NoError || (status >= 400 && IsHttpStatusError(error)));
    DownloadResult result;
    result.httpStatus = transferred ? status : 0;
    result.ok = transferred && status >= 200 && status <= 299;
    if (result.ok) {
        result.body = std::move(t->body);
        result.contentType = reply->rawHeader("Content-Type");
    }
    t->body = QByteArray();
    for (const QMetaObject::Connection &connection : std::as_const(t->connections))
        disconnect(connection);
    reply->deleteLater();
    if (t->orphaned)
        co_return DownloadResult{};

    d->inFlight.removeOne(t);
    // QNAM keeps the connection of a transfer stopped mid-answer for the next
    // request, which then waits behind an answer that never ends; after a
    // handful of such stops every download would time out.
    if (t->reason != StopReason::None)
        d->manager->clearConnectionCache();
    if (result.ok) {
        d->report(DownloadState::ResponseReceived);
        d->report(DownloadState::ResponseCompleted);
        co_return result;
    }
    if (transferred) {
        d->report(DownloadState::Error, status, reasonPhrase);
        co_return result;
    }
    switch (t->reason) {
    case StopReason::TimedOut:
        d->report(DownloadState::Error, QNetworkReply::TimeoutError,
                  t->why.isEmpty() ? u"No response for %1 ms"_qs.arg(d->timeout.count()) : t->why);
        break;
    case StopReason::TooLarge:
        d->report(DownloadState::Error, QNetworkReply::UnknownContentError,
                  u"Response larger than %1 bytes"_qs.arg(t->maxBodySize));
        break;
    case StopReason::CutShort:
        d->report(DownloadState::Error, QNetworkReply::RemoteHostClosedError,
                  u"Connection closed before the whole body came"_qs);
        break;
    case StopReason::Aborted:
        d->report(DownloadState::Error, QNetworkReply::OperationCanceledError,
                  u"Operation canceled"_qs);
        break;
    case StopReason::None:
        d->report(DownloadState::Error, error, errorText);
        break;
    }
    co_return result;
}

} // namespace voltwise

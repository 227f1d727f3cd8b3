#include "update/url_text.h"

#include "core/download/download_channel.h"

#include <QPointer>
#include <QUrl>

#include <algorithm>

namespace voltwise {

namespace {

bool IsBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

} // namespace

HttpUrlTextSource::HttpUrlTextSource(TimerFactory &timers, QObject *parent)
    : QObject(parent)
    , m_channel(new DownloadChannel(this))
{
    m_channel->setTimers(timers);
    m_channel->setTimeout(kTimeout);
    m_channel->setMaxBodySize(kMaxBodySize);
}

HttpUrlTextSource::~HttpUrlTextSource()
{
    m_closing = true;
    abort();
}

void HttpUrlTextSource::abort()
{
    m_channel->abort();
}

QCoro::Task<QString> HttpUrlTextSource::GetURLText(QString url)
{
    if (IsBlank(url) || m_closing)
        co_return QString();
    // The URL goes out as given, untrimmed: one that blanks make invalid fails.
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.host().isEmpty())
        co_return QString();
    const QPointer<DownloadChannel> channel = m_channel;
    const DownloadResult answer = co_await m_channel->fetch(target);
    if (!channel || !answer.ok || answer.httpStatus != 200)
        co_return QString();
    co_return answer.text();
}

} // namespace voltwise

#include "refresh/refresh_deadline.h"

#include "core/download/download_channel.h"
#include "core/timers.h"

#include <QNetworkReply>

namespace voltwise {

RefreshDeadline::RefreshDeadline(DownloadChannel &channel, std::chrono::milliseconds limit)
    : m_channel(&channel)
    , m_limit(limit)
    , m_timer(channel.timers().create([this] {
        m_passed = true;
        if (m_channel)
            m_channel->timeOut(why());
    }))
{
    m_timer->start(limit);
}

RefreshDeadline::~RefreshDeadline() = default;

QString RefreshDeadline::why() const
{
    return u"Refresh not done within %1 s"_qs.arg(m_limit.count() / 1000.0);
}

void RefreshDeadline::reportSkipped(QStringView path) const
{
    if (m_channel)
        m_channel->reportRefused(QNetworkReply::TimeoutError,
                                 why() + u"; not asked for "_qs + path.toString());
}

} // namespace voltwise

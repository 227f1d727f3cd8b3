#include "monitor/grid_monitor.h"

#include "core/download/download_channel.h"
#include "feeds/operator_words.h"
#include "settings/app_settings.h"
#include "status/condition_levels.h"

#include <QPointer>
#include <QTimer>

namespace voltwise {

GridMonitor::GridMonitor(MonitorServices services, const AppSettings &settings, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_settings(settings)
    , m_alert(m_services.servers)
    , m_conditionText(*ShownConditionText(LevelUnknown))
{
    m_channel = new DownloadChannel(this);
    m_channel->setObjectName(u"inetDownloader"_qs);

    m_minuteTimer = new QTimer(this);
    m_minuteTimer->setObjectName(u"tmrMinute"_qs);
    m_minuteTimer->setInterval(m_services.minuteMilliseconds);
    connect(m_minuteTimer, &QTimer::timeout, this, [this] { minuteTick(); });
}

GridMonitor::~GridMonitor()
{
    // A refresh under way resumes after the monitor is gone; it must start no
    // further download.
    m_cancellation->cancelled = true;
}

QCoro::Task<> GridMonitor::refresh()
{
    if (m_state != State::Idle)
        co_return;
    m_state = State::Refreshing;
    m_minuteTimer->stop();
    Q_EMIT refreshStarted();

    QPointer<GridMonitor> self(this);
    const auto cancellation = m_cancellation;
    const ReadAllResult result =
        co_await ReadAllSources(*m_channel, m_services.servers, m_data, m_services.locale,
                                cancellation, m_services.clock, m_services.refreshDeadline);
    if (!self)
        co_return;
    if (!cancellation->cancelled) {
        m_lastResult = result;
        produce();
    }

    const bool stopping = m_state == State::Stopping;
    m_state = stopping ? State::Stopped : State::Idle;
    if (!stopping)
        m_minuteTimer->start();
    Q_EMIT refreshFinished();
    if (stopping)
        Q_EMIT stopped();
}

void GridMonitor::produce()
{
    const QLocale &locale = m_services.locale;
    const StatusPresentation p = PresentStatus(m_data.Status, locale);
    m_published = p.publishedItems(m_published);
    Q_EMIT itemsPublished(m_published, OperatorStatusText(m_data.OperatorStatus));

    if (p.lblStatusText)
        m_conditionText = *p.lblStatusText;
    Q_EMIT presented(p, m_data);
    m_data.PendingGraphPicture.reset(); // shown once

    if (const auto notice =
            m_alert.check(m_data.Notices.StatusTableText, m_data.Status.Level, m_conditionText,
                          m_data.Status.ActualDemand, m_settings.PlaySound, locale))
        Q_EMIT announced(*notice, m_data.Status.Level);
}

QCoro::Task<> GridMonitor::minuteTick()
{
    QPointer<GridMonitor> self(this);
    if (m_minuteCounter.shouldRefresh(m_settings.AutoCheck))
        co_await refresh();
    if (!self)
        co_return;
    m_minuteCounter.advance(m_settings.UpdateInterval);
}

void GridMonitor::stop()
{
    if (isStopped())
        return;
    m_minuteTimer->stop();
    if (m_state == State::Idle) {
        m_state = State::Stopped;
        Q_EMIT stopped();
        return;
    }
    // Let the refresh wind down first.
    m_state = State::Stopping;
    m_cancellation->cancelled = true;
    m_channel->abort();
}

} // namespace voltwise

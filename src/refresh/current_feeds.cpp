#include "refresh/current_feeds.h"

#include "core/download/download_channel.h"
#include "feeds/demand_reader.h"
#include "feeds/feed_body.h"
#include "feeds/feed_paths.h"
#include "feeds/feed_texts.h"
#include "feeds/flex_alert_reader.h"
#include "feeds/operator_dates.h"
#include "feeds/operator_words.h"
#include "feeds/stats_reader.h"

#include <QUrlQuery>

#include <array>
#include <chrono>

namespace voltwise {

namespace {

// The operator's content network serves stale copies of an unchanged URL.
QUrl CacheBusted(const QUrl &base, QStringView path, const QDateTime &now)
{
    QUrl url = ServerUrls::resolve(base, path.toString());
    QUrlQuery query;
    query.addQueryItem(u"_"_qs, QString::number(now.toMSecsSinceEpoch()));
    url.setQuery(query);
    return url;
}

// Why a completed transfer is not to be read at all; empty when it may be.
QString Refusal(const DownloadResult &downloaded, QStringView expected)
{
    if (downloaded.httpStatus != 200)
        return u"HTTP status %1"_qs.arg(downloaded.httpStatus);
    if (IsHtmlBody(downloaded.body, downloaded.contentType))
        return u"HTML page instead of "_qs + expected.toString();
    return {};
}

// Times in a file of today cannot lie ahead of the operator's clock, but for
// the clocks' difference; yesterday's file reaches up to midnight.
constexpr int kClockSlackMs = 60 * 60 * 1000;

} // namespace

QCoro::Task<ReadAllResult> ReadCurrentFeeds(DownloadChannel &channel, ServerUrls servers,
                                            GridData &data, QLocale locale,
                                            std::shared_ptr<const RefreshCancellation> cancellation,
                                            RefreshClock clock, const RefreshDeadline &deadline)
{
    const QDateTime now = OperatorWallClock(clock ? clock() : QDateTime::currentDateTime());
    ReadAllResult result;
    // A download that came back is read unless it is refused; the channel
    // is told why it was.
    const auto read = [&channel](QStringView path, QStringView expected, auto reader) {
        return [&channel, path, expected, reader](const DownloadResult &downloaded) {
            if (!downloaded.ok)
                return;
            QString why = Refusal(downloaded, expected);
            if (why.isEmpty())
                why = reader(downloaded);
            if (!why.isEmpty())
                channel.reportRefused(downloaded.httpStatus, path.toString() + u": "_qs + why);
        };
    };
    const auto readStats = read(kStatsPath, u"JSON", [&](const DownloadResult &stats) {
        QString problem;
        const auto summary =
            ReadStatsSummary(stats.body, data.Status, data.OperatorStatus, now, &problem);
        if (!summary)
            return problem;
        if (summary->time && summary->time->date() < now.date())
            return u"a day behind"_qs;
        data.Status = summary->status;
        data.OperatorStatus = summary->operatorStatus;
        return QString();
    });
    const std::array<FetchStep, 3> steps = {{
        {CacheBusted(servers.gridMain, kStatsPath, now),
         {},
         [&](const DownloadResult &stats) {
             result.statusCsvHttpStatus = stats.httpStatus;
             readStats(stats);
         }},
        {CacheBusted(servers.gridMain, kDemandPath, now),
         {},
         read(kDemandPath, u"CSV",
              [&](const DownloadResult &demand) {
                  const OleDate time = data.Status.ActualDemandTime;
                  std::optional<ResourcesNow> resources;
                  if (!time.isZero() && time.date() == now.date())
                      resources = ResourcesNow{time.time(), data.Status.AvailableResources};
                  QString problem;
                  const auto day = ReadDemandCsv(demand.text(), data.Outlook, resources, &problem);
                  if (!day)
                      return problem;
                  if (day->latestActual && day->latestActual->msecsSinceStartOfDay() >
                                               now.time().msecsSinceStartOfDay() + kClockSlackMs)
                      return u"a day behind"_qs;
                  data.Outlook = day->values;
                  return QString();
              })},
        {CacheBusted(servers.flexAlerts, kFlexAlertEventsPath, now),
         QByteArrayLiteral("application/json"),
         read(kFlexAlertEventsPath, u"JSON",
              [&](const DownloadResult &service) {
                  QString problem;
                  const auto events = ReadFlexAlertEvents(service.body, now, &problem);
                  if (!events)
                      return problem;
                  data.FlexAlerts = *events;
                  return QString();
              })},
    }};
    if (!co_await FetchInTurn(channel, steps, cancellation, deadline))
        co_return result;

    const QStringList &words = data.OperatorStatus;
    const bool flexAlertLevel = data.Status.Level == LevelAlert &&
                                std::any_of(words.begin(), words.end(),
                                            [](const QString &w) { return IsFlexAlertWord(w); });
    if (flexAlertLevel && data.FlexAlerts && !data.FlexAlerts->active.isEmpty()) {
        const FlexAlertEvent &event = data.FlexAlerts->active.first();
        if (event.start)
            data.Status.LevelStart = *event.start;
        if (event.end)
            data.Status.LevelEnd = *event.end;
    }
    // Notices come from the service's answer: before it has answered once
    // nothing is known of them, and no text claims there are none. A change
    // of the operator's words is still announced meanwhile.
    if (data.FlexAlerts) {
        data.Notices = FeedNoticesTexts(words, data.FlexAlerts, locale);
        data.ForecastsText = FeedForecastsText(*data.FlexAlerts, locale);
    } else if (!words.isEmpty()) {
        data.Notices.StatusTableText =
            FeedNoticesTexts(words, std::nullopt, locale).StatusTableText;
    }
    co_return result;
}

} // namespace voltwise

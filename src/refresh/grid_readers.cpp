#include "refresh/grid_readers.h"

#include "core/download/download_channel.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"
#include "refresh/current_feeds.h"
#include "refresh/status_csv_reader.h"

#include <array>
#include <functional>

namespace voltwise {

QCoro::Task<ReadAllResult> ReadAllSources(DownloadChannel &channel, ServerUrls servers,
                                          GridData &data, QLocale locale,
                                          std::shared_ptr<const RefreshCancellation> cancellation,
                                          RefreshClock clock, std::chrono::milliseconds deadline)
{
    const RefreshDeadline timeLeft(channel, deadline);
    if (servers.feeds == FeedSource::Current)
        co_return co_await ReadCurrentFeeds(channel, servers, data, locale, cancellation, clock,
                                            timeLeft);
    ReadAllResult result;
    struct Source
    {
        QUrl url;
        std::function<void(const DownloadResult &)> read; // only for a successful download
        int *httpStatus = nullptr;
    };
    const std::array<Source, 5> sources = {{
        {ServerUrls::resolve(servers.gridMain, u"/outlook/systemstatus.csv"_qs),
         [&](const DownloadResult &csv) { data.Status = ReadStatusCsv(csv.text(), data.Status); },
         &result.statusCsvHttpStatus},
        {ServerUrls::resolve(servers.gridContent, u"/outlook/SP/ems_small.gif"_qs),
         [&](const DownloadResult &picture) {
             if (picture.body.size() >= 2)
                 data.PendingGraphPicture = picture.body;
         }},
        {ServerUrls::resolve(servers.gridContent, u"/outlook/SP/outlook.html"_qs),
         [&](const DownloadResult &outlook) {
             data.Outlook = ReadOutlookPage(outlook.text(), data.Outlook);
         }},
        {ServerUrls::resolve(servers.gridMain, u"/awe/forecast.html"_qs),
         [&](const DownloadResult &forecast) {
             data.ForecastsText = ReadForecastPage(forecast.text(), data.ForecastsText);
         }},
        {ServerUrls::resolve(servers.gridContent, u"/awe/SP/systemstatus.html"_qs),
         [&](const DownloadResult &notices) {
             data.Notices = ReadNoticesPage(notices.text(), data.Notices);
         }},
    }};

    const auto stopped = [&cancellation] {
        return cancellation && cancellation->cancelled;
    };
    for (const Source &source : sources) {
        // Checked on both sides of the wait: once cancelled, the caller's
        // data may be gone by the time the download ends.
        if (stopped())
            co_return result;
        DownloadResult downloaded;
        if (timeLeft.passed())
            timeLeft.reportSkipped(source.url.path());
        else
            downloaded = co_await channel.fetch(source.url);
        if (stopped())
            co_return result;
        if (source.httpStatus)
            *source.httpStatus = downloaded.httpStatus;
        if (downloaded.ok)
            source.read(downloaded);
    }
    co_return result;
}

} // namespace voltwise

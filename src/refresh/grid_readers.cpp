#include "refresh/grid_readers.h"

#include "core/download/download_channel.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"
#include "refresh/current_feeds.h"
#include "refresh/status_csv_reader.h"

#include <array>

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
    // Each reader only for a download that came back whole.
    const auto read = [](auto reader) {
        return [reader](const DownloadResult &downloaded) {
            if (downloaded.ok)
                reader(downloaded);
        };
    };
    const std::array<FetchStep, 5> steps = {{
        {ServerUrls::resolve(servers.gridMain, u"/outlook/systemstatus.csv"_qs),
         {},
         [&](const DownloadResult &csv) {
             result.statusCsvHttpStatus = csv.httpStatus;
             if (csv.ok)
                 data.Status = ReadStatusCsv(csv.text(), data.Status);
         }},
        {ServerUrls::resolve(servers.gridContent, u"/outlook/SP/ems_small.gif"_qs),
         {},
         read([&](const DownloadResult &picture) {
             if (picture.body.size() >= 2)
                 data.PendingGraphPicture = picture.body;
         })},
        {ServerUrls::resolve(servers.gridContent, u"/outlook/SP/outlook.html"_qs),
         {},
         read([&](const DownloadResult &outlook) {
             data.Outlook = ReadOutlookPage(outlook.text(), data.Outlook);
         })},
        {ServerUrls::resolve(servers.gridMain, u"/awe/forecast.html"_qs),
         {},
         read([&](const DownloadResult &forecast) {
             data.ForecastsText = ReadForecastPage(forecast.text(), data.ForecastsText);
         })},
        {ServerUrls::resolve(servers.gridContent, kStatusPagePath.toString()),
         {},
         read([&](const DownloadResult &notices) {
             data.Notices = ReadNoticesPage(notices.text(), data.Notices);
         })},
    }};
    co_await FetchInTurn(channel, steps, cancellation, timeLeft);
    co_return result;
}

} // namespace voltwise

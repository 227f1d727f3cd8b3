#include "app/grid_readers.h"

#include "app/download/download_channel.h"
#include "app/status_csv/status_csv_reader.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"

namespace voltwise {

QCoro::Task<ReadAllResult> ReadAllSources(DownloadChannel &channel, ServerUrls servers,
                                          GridData &data, QLocale locale,
                                          std::shared_ptr<const RefreshCancellation> cancellation)
{
    ReadAllResult result;
    const auto stopped = [&cancellation] {
        return cancellation && cancellation->cancelled;
    };
    // Also before the first download: a refresh may start after cancelling.
    if (stopped())
        co_return result;

    const DownloadResult csv = co_await channel.fetch(
        ServerUrls::resolve(servers.gridMain, u"/outlook/systemstatus.csv"_qs));
    if (csv.ok) {
        result.statusCsvHttpStatus = csv.httpStatus;
        data.Status = ReadStatusCsv(csv.text(), data.Status, locale);
    }
    if (stopped())
        co_return result;

    const DownloadResult picture = co_await channel.fetch(
        ServerUrls::resolve(servers.gridContent, u"/outlook/SP/ems_small.gif"_qs));
    if (picture.ok && picture.body.size() >= 2)
        data.PendingGraphPicture = picture.body;
    if (stopped())
        co_return result;

    const DownloadResult outlook = co_await channel.fetch(
        ServerUrls::resolve(servers.gridContent, u"/outlook/SP/outlook.html"_qs));
    if (outlook.ok)
        data.Outlook = ReadOutlookPage(outlook.text(), data.Outlook, locale);
    if (stopped())
        co_return result;

    const DownloadResult forecast =
        co_await channel.fetch(ServerUrls::resolve(servers.gridMain, u"/awe/forecast.html"_qs));
    if (forecast.ok)
        data.ForecastsText = ReadForecastPage(forecast.text(), data.ForecastsText);
    if (stopped())
        co_return result;

    const DownloadResult notices = co_await channel.fetch(
        ServerUrls::resolve(servers.gridContent, u"/awe/SP/systemstatus.html"_qs));
    if (notices.ok)
        data.Notices = ReadNoticesPage(notices.text(), data.Notices);
    co_return result;
}

} // namespace voltwise

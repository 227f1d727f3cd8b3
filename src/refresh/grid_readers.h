#pragma once

#include "core/server_urls.h"
#include "model/grid_data.h"
#include "refresh/fetch_in_turn.h"
#include "refresh/refresh_deadline.h"

#include <QDateTime>
#include <QLocale>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>

namespace voltwise {

class DownloadChannel;

struct ReadAllResult
{
    // HTTP status of the status file (the summary of today's feeds), also of
    // an error page; 0 when its transfer failed.
    int statusCsvHttpStatus = 0;
};

// The time now; none means the system clock.
using RefreshClock = std::function<QDateTime()>;

// Downloads every source of the selected feeds once, in the fixed order
// (classic: status file, load picture, outlook, forecast and status pages;
// current: see ReadCurrentFeeds), each reader keeping its previous values
// when its download fails (an HTTP error status included) or its page is
// rejected. The operator's data is read in its own conventions; locale, the
// user's, is for the texts made for the user. The whole refresh ends within
// deadline (on the channel's timers); what has not come by then failed.
// channel and data must outlive the returned task.
QCoro::Task<ReadAllResult> ReadAllSources(DownloadChannel &channel, ServerUrls servers,
                                          GridData &data, QLocale locale,
                                          std::shared_ptr<const RefreshCancellation> cancellation,
                                          RefreshClock clock = {},
                                          std::chrono::milliseconds deadline = kRefreshDeadline);

} // namespace voltwise

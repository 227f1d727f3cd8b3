#pragma once

#include "refresh/grid_data.h"
#include "core/server_urls.h"

#include <QLocale>
#include <qcoro/qcorotask.h>

#include <memory>

namespace voltwise {

class DownloadChannel;

struct ReadAllResult
{
    // HTTP status of the status file; 0 when its transfer failed.
    int statusCsvHttpStatus = 0;
};

// Set to stop a refresh between downloads (the program is ending).
struct RefreshCancellation
{
    bool cancelled = false;
};

// Downloads every source once, in the fixed order (status file, load
// picture, outlook, forecast and status pages), each reader keeping its
// previous values when its download fails or its page is rejected.
// channel and data must outlive the returned task.
QCoro::Task<ReadAllResult> ReadAllSources(DownloadChannel &channel, ServerUrls servers,
                                          GridData &data, QLocale locale,
                                          std::shared_ptr<const RefreshCancellation> cancellation);

} // namespace voltwise

#pragma once

#include "core/server_urls.h"
#include "refresh/grid_data.h"

#include <qcoro/qcorotask.h>

#include <memory>

namespace voltwise {

class DownloadChannel;

struct ReadAllResult
{
    // HTTP status of the status file, also of an error page; 0 when its
    // transfer failed.
    int statusCsvHttpStatus = 0;
};

// Set to stop a refresh between downloads (the program is ending).
struct RefreshCancellation
{
    bool cancelled = false;
};

// Downloads every source once, in the fixed order (status file, load
// picture, outlook, forecast and status pages), each reader keeping its
// previous values when its download fails (an HTTP error status included)
// or its page is rejected. channel and data must outlive the returned task.
QCoro::Task<ReadAllResult> ReadAllSources(DownloadChannel &channel, ServerUrls servers,
                                          GridData &data,
                                          std::shared_ptr<const RefreshCancellation> cancellation);

} // namespace voltwise

#pragma once

#include "core/download/download_channel.h"
#include "refresh/refresh_deadline.h"

#include <QByteArray>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <span>

namespace voltwise {

// Set to stop a refresh between downloads (the program is ending).
struct RefreshCancellation
{
    bool cancelled = false;
};

// One download of a refresh and what becomes of its result.
struct FetchStep
{
    QUrl url;
    QByteArray accept; // empty: the channel's default
    // Every download that ended, failed ones included; a source given up
    // at the deadline counts as failed.
    std::function<void(const DownloadResult &)> take;
};

// Fetches the steps in order, one at a time. Returns false when the refresh
// was cancelled: the caller's data may be gone by then and must not be
// touched.
QCoro::Task<bool> FetchInTurn(DownloadChannel &channel, std::span<const FetchStep> steps,
                              std::shared_ptr<const RefreshCancellation> cancellation,
                              const RefreshDeadline &deadline);

} // namespace voltwise

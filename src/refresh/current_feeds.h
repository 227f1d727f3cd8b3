#pragma once

#include "refresh/grid_readers.h"

namespace voltwise {

// One refresh on the operator's feeds of today, in the order of the classic
// refresh: the summary (status record and the operator's words), the
// demand file (hourly outlook) and the Flex Alert service (notices and
// forecasts), one request each with a cache-busting query. A body that
// came back with a status other than 200, an HTML page, a body that does
// not read, or a file a day behind the operator's today changes nothing;
// the channel reports why. There is no load picture.
QCoro::Task<ReadAllResult> ReadCurrentFeeds(DownloadChannel &channel, ServerUrls servers,
                                            GridData &data, QLocale locale,
                                            std::shared_ptr<const RefreshCancellation> cancellation,
                                            RefreshClock clock, const RefreshDeadline &deadline);

} // namespace voltwise

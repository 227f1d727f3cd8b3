#include "refresh/fetch_in_turn.h"

namespace voltwise {

QCoro::Task<bool> FetchInTurn(DownloadChannel &channel, std::span<const FetchStep> steps,
                              std::shared_ptr<const RefreshCancellation> cancellation,
                              const RefreshDeadline &deadline)
{
    const auto stopped = [&cancellation] {
        return cancellation && cancellation->cancelled;
    };
    for (const FetchStep &step : steps) {
        // Checked on both sides of the wait: once cancelled, the caller's
        // data may be gone by the time the download ends.
        if (stopped())
            co_return false;
        DownloadResult downloaded;
        if (deadline.passed())
            deadline.reportSkipped(step.url.path());
        else
            downloaded = co_await channel.fetch(step.url, step.accept);
        if (stopped())
            co_return false;
        step.take(downloaded);
    }
    co_return true;
}

} // namespace voltwise

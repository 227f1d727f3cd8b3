#pragma once

#include <QPointer>
#include <QString>
#include <QStringView>

#include <chrono>
#include <memory>

namespace voltwise {

class DownloadChannel;
class OneShotTimer;

// However each resource stalls or drips, a whole refresh ends within this.
inline constexpr std::chrono::milliseconds kRefreshDeadline{120000};

// The time one refresh may take, on the channel's timers. When it is up the
// download under way ends as timed out, and every source not yet asked for
// fails as a download would, without a request.
class RefreshDeadline
{
public:
    RefreshDeadline(DownloadChannel &channel, std::chrono::milliseconds limit);
    ~RefreshDeadline();
    RefreshDeadline(const RefreshDeadline &) = delete;
    RefreshDeadline &operator=(const RefreshDeadline &) = delete;

    bool passed() const { return m_passed; }
    // Reports on the channel that path was given up, as its failed download.
    void reportSkipped(QStringView path) const;

private:
    QString why() const;

    QPointer<DownloadChannel> m_channel;
    std::chrono::milliseconds m_limit;
    std::unique_ptr<OneShotTimer> m_timer;
    bool m_passed = false;
};

} // namespace voltwise

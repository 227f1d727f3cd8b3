#pragma once

#include "core/server_urls.h"
#include "model/grid_data.h"
#include "refresh/grid_readers.h"
#include "refresh/minute_counter.h"
#include "status/change_alert.h"
#include "status/status_presentation.h"

#include <QLocale>
#include <QObject>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>

class QTimer;

namespace voltwise {

struct AppSettings;
class DownloadChannel;

// What the monitor needs from outside; tests pass their own.
struct MonitorServices
{
    ServerUrls servers = ServerUrls::defaults();
    QLocale locale = QLocale::system();
    RefreshClock clock; // none: the system clock
    std::chrono::milliseconds refreshDeadline = kRefreshDeadline;
    int minuteMilliseconds = 60 * 1000;
};

// Watches the grid operator: runs the refreshes (at start, on request and
// on the minute timer), keeps what they read, and tells what each produced.
// Those who show it only apply what it emits.
class GridMonitor : public QObject
{
    Q_OBJECT

public:
    // Follows settings as they change (AutoCheck, UpdateInterval, PlaySound).
    GridMonitor(MonitorServices services, const AppSettings &settings, QObject *parent = nullptr);
    ~GridMonitor() override;

    // One refresh of every source, then what it produced. Never runs twice
    // at once, nor once stopped: such a call returns at once.
    QCoro::Task<> refresh();
    // The minute timer's tick: a refresh every UpdateInterval ticks.
    QCoro::Task<> minuteTick();
    // Ends the monitor: no refresh starts any more, one under way is cut
    // short; stopped() follows once it has wound down.
    void stop();

    bool isRefreshing() const { return m_state == State::Refreshing || m_state == State::Stopping; }
    bool isStopped() const { return m_state == State::Stopping || m_state == State::Stopped; }
    const GridData &data() const { return m_data; }
    const PublishedItems &publishedItems() const { return m_published; }
    const ReadAllResult &lastResult() const { return m_lastResult; }
    DownloadChannel *channel() const { return m_channel; }

Q_SIGNALS:
    void refreshStarted();
    // What a finished refresh produced, in this order: the items for other
    // programs (with the operator's own status words), the presentation of
    // the data, and the announcement when the status changed.
    void itemsPublished(const voltwise::PublishedItems &items, const QString &operatorStatus);
    void presented(const voltwise::StatusPresentation &presentation,
                   const voltwise::GridData &data);
    void announced(const voltwise::ChangeNotice &notice, int level);
    // Also after a refresh cut short, which produces nothing.
    void refreshFinished();
    void stopped();

private:
    enum class State
    {
        Idle,
        Refreshing,
        Stopping, // a refresh winds down, then the monitor stops
        Stopped,
    };

    void produce();

    MonitorServices m_services;
    const AppSettings &m_settings;
    State m_state = State::Idle;
    GridData m_data;
    ReadAllResult m_lastResult;
    MinuteCounter m_minuteCounter;
    ChangeAlert m_alert;
    // What the condition reads as shown, for the notice's header: a level
    // outside the known range keeps the last one.
    QString m_conditionText;
    PublishedItems m_published = PublishedItems::initial();
    std::shared_ptr<RefreshCancellation> m_cancellation = std::make_shared<RefreshCancellation>();
    DownloadChannel *m_channel = nullptr;
    QTimer *m_minuteTimer = nullptr;
};

} // namespace voltwise

#pragma once

#include "core/server_urls.h"
#include "feeds/feed_paths.h"
#include "gridsim/grid_snapshot.h"
#include "gridsim/release_files.h"
#include "gridsim/scenario.h"
#include "gridsim/sim_fault.h"
#include "model/grid_status.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QTcpSocket;

namespace voltwise::gridsim {

inline constexpr QStringView kStatusCsvPath = u"/outlook/systemstatus.csv";
using voltwise::kStatusPagePath;
inline constexpr QStringView kForecastPagePath = u"/awe/forecast.html";
inline constexpr QStringView kOutlookPagePath = u"/outlook/SP/outlook.html";
inline constexpr QStringView kLoadPicturePath = u"/outlook/SP/ems_small.gif";
// Today's feeds: kStatsPath, kDemandPath and kFlexAlertEventsPath (feeds/feed_paths.h).

// The fault of this path stands for every path without a fault of its own.
inline constexpr QStringView kEveryPath = u"*";

// Control paths; they answer with the state as JSON and are never faulted.
inline constexpr QStringView kStatePath = u"/_sim/state";
inline constexpr QStringView kAdvancePath = u"/_sim/advance";
inline constexpr QStringView kResetPath = u"/_sim/reset";
inline constexpr QStringView kScenarioPath = u"/_sim/scenario"; // ?name=normal|walk
inline constexpr QStringView kFaultPath = u"/_sim/fault";       // ?path=P&set=FAULT
inline constexpr QStringView kClearFaultsPath = u"/_sim/clear-faults";
inline constexpr QStringView kReleasePath = u"/_sim/release"; // ?version=V

// What a client sent with its last request of a path.
struct SimRequest
{
    QString query;
    QByteArray userAgent;
    QByteArray accept;
};

// A resource as it is served when nothing goes wrong.
struct SimResource
{
    QByteArray contentType;
    QByteArray body;
};

// The simulated grid operator: one HTTP server that serves the status file,
// the three pages and the load picture of a scenario, and the same scenario
// as today's feeds (summary, demand file, Flex Alert service), steps
// through the scenario on demand, by time or by refreshes, and injects
// faults per path.
class GridSim : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit GridSim(QObject *parent = nullptr);
    ~GridSim() override;

    // Port 0 picks a free port, one without 403 or 404 in it (a descriptor
    // naming such a port would count as absent). False when the port cannot
    // be bound.
    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 port() const;
    QUrl baseUrl() const;             // "http://127.0.0.1:PORT"
    QUrl url(QStringView path) const; // baseUrl() with the path

    // Starts the scenario over at step 0.
    void setScenario(ScenarioKind kind);
    ScenarioKind scenario() const;
    // Step 0 again, entered now.
    void reset();
    void advance();
    int step() const;
    ConditionLevel level() const;

    // Steps every interval; zero stops.
    void setAdvanceInterval(std::chrono::milliseconds interval);
    // Every n-th request of the status file after the first steps before it
    // is answered, so all resources of one refresh show the same step;
    // zero stops.
    void setAdvanceEveryRefreshes(int refreshes);
    int refreshCount() const;

    // The release the maker's descriptor names; the running program's own
    // version by default. False, changing nothing, for a text the descriptor
    // cannot carry.
    bool setReleaseVersion(const QString &version);
    QString releaseVersion() const;

    // The local time by default; tests pass a fixed time.
    void setClock(Clock clock);
    GridSnapshot snapshot() const;
    // The snapshot today's feeds are written from: the same moment on the
    // operator's (Pacific) wall clock.
    GridSnapshot currentSnapshot() const;
    // What a path serves now without faults; nullopt for an unknown path.
    std::optional<SimResource> resource(QStringView path) const;

    // kEveryPath faults every resource without a fault of its own.
    void setFault(QStringView path, const Fault &fault); // a none fault clears
    void clearFault(QStringView path);
    void clearFaults();
    // What a request of path meets.
    Fault fault(QStringView path) const;

    // Requests received for a path, faulted or not, control paths included.
    int requestCount(QStringView path) const;
    std::optional<SimRequest> lastRequest(QStringView path) const;

    QJsonObject state() const;

Q_SIGNALS:
    void advanced(int step);
    void requestReceived(const QString &path);

private:
    class Server;
    friend class Server;

    void handle(const QString &path, bool headOnly, const QUrlQuery &query, QTcpSocket *socket);
    void handleControl(const QString &path, const QUrlQuery &query, QTcpSocket *socket);
    void countRefresh();
    QDateTime now() const;
    QByteArray httpDate() const;

    std::unique_ptr<Server> m_server;
    QHostAddress m_address;
    quint16 m_port = 0;

    ScenarioKind m_scenario = ScenarioKind::Normal;
    int m_step = 0;
    QDateTime m_stepStarted;
    Clock m_clock;

    QTimer m_advanceTimer;
    int m_advanceEveryRefreshes = 0;
    int m_refreshes = 0;

    QString m_releaseVersion;
    QHash<QString, Fault> m_faults;
    QHash<QString, int> m_requestCounts;
    QHash<QString, SimRequest> m_lastRequests;
};

} // namespace voltwise::gridsim

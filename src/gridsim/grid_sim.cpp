#include "gridsim/grid_sim.h"

#include "feeds/operator_dates.h"
#include "gridsim/current_feeds_writer.h"
#include "gridsim/fault_bodies.h"
#include "gridsim/load_picture.h"
#include "gridsim/page_writers.h"
#include "gridsim/response_writer.h"
#include "gridsim/status_csv_writer.h"
#include "update/version.h"

#include <QAbstractHttpServer>
#include <QHttpServerRequest>
#include <QJsonDocument>
#include <QLocale>
#include <QTcpServer>
#include <QTcpSocket>

namespace voltwise::gridsim {

class GridSim::Server : public QAbstractHttpServer
{
public:
    explicit Server(GridSim *sim)
        : m_sim(sim)
    {}

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        const bool headOnly = request.method() == QHttpServerRequest::Method::Head;
        m_sim->m_lastRequests.insert(
            request.url().path(),
            {request.url().query(), request.value("User-Agent"), request.value("Accept")});
        m_sim->handle(request.url().path(), headOnly, request.query(), socket);
        return true;
    }

    void missingHandler(const QHttpServerRequest &, QTcpSocket *) override {}

private:
    GridSim *m_sim;
};

namespace {

const QByteArray kHtmlType = "text/html; charset=iso-8859-1";
constexpr qint64 kNoiseBytes = 4096;

QByteArray Utf8Labelled(const QByteArray &contentType)
{
    return contentType.split(';').first().trimmed() + "; charset=utf-8";
}

ResponsePlan PlanFor(const std::optional<SimResource> &resource, const Fault &fault,
                     const QString &path)
{
    ResponsePlan plan;
    plan.status = fault.status != 0 ? fault.status : resource ? 200 : 404;
    if (resource && plan.status == 200) {
        plan.contentType = resource->contentType;
        plan.body = resource->body;
    } else {
        plan.contentType = kHtmlType;
        plan.body = WriteErrorPage(plan.status, path);
    }
    if (fault.html) {
        plan.contentType = kHtmlType;
        plan.body = WriteErrorPage(503, path);
    }
    if (fault.emptyBody)
        plan.body.clear();
    if (fault.oversizeBytes > 0) {
        plan.body.clear();
        plan.fillerBytes = fault.oversizeBytes;
    }
    if (fault.binary)
        plan.body = NoiseBytes(kNoiseBytes);
    if (fault.invalidUtf8) {
        plan.contentType = Utf8Labelled(plan.contentType);
        plan.body = WithInvalidUtf8(plan.body);
    }
    if (fault.gzipBombBytes > 0) {
        plan.body = GzipBomb(fault.gzipBombBytes);
        plan.extraHeaders += "Content-Encoding: gzip\r\n";
    }
    if (!fault.redirect.isEmpty()) {
        plan.status = 302;
        plan.contentType = kHtmlType;
        plan.body = WriteErrorPage(302, path);
        const QString target = fault.redirect == u"self" ? path : fault.redirect;
        plan.extraHeaders += "Location: " + target.toUtf8() + "\r\n";
    }
    plan.chunked = fault.chunked;
    plan.trickle = fault.trickle;
    plan.stall = fault.stall;
    plan.cut = fault.cut;
    plan.reset = fault.reset;
    return plan;
}

} // namespace

GridSim::GridSim(QObject *parent)
    : QObject(parent)
    , m_server(std::make_unique<Server>(this))
    , m_clock([] { return QDateTime::currentDateTime(); })
    , m_releaseVersion(VersionString())
{
    m_stepStarted = now();
    connect(&m_advanceTimer, &QTimer::timeout, this, &GridSim::advance);
}

GridSim::~GridSim() = default;

bool GridSim::listen(const QHostAddress &address, quint16 port)
{
    constexpr int kAttempts = 20;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto *server = new QTcpServer;
        if (!server->listen(address, port)) {
            delete server;
            return false;
        }
        const QString bound = QString::number(server->serverPort());
        if (port == 0 && (bound.contains(u"403") || bound.contains(u"404")) &&
            attempt + 1 < kAttempts) {
            delete server;
            continue;
        }
        m_server->bind(server);
        m_address = address;
        m_port = server->serverPort();
        return true;
    }
    return false;
}

quint16 GridSim::port() const
{
    return m_port;
}

QUrl GridSim::baseUrl() const
{
    QUrl url;
    url.setScheme(u"http"_qs);
    url.setHost(m_address.toString());
    url.setPort(m_port);
    return url;
}

QUrl GridSim::url(QStringView path) const
{
    QUrl result = baseUrl();
    result.setPath(path.toString());
    return result;
}

void GridSim::setScenario(ScenarioKind kind)
{
    m_scenario = kind;
    reset();
}

ScenarioKind GridSim::scenario() const
{
    return m_scenario;
}

void GridSim::reset()
{
    m_step = 0;
    m_stepStarted = now();
}

void GridSim::advance()
{
    ++m_step;
    m_stepStarted = now();
    Q_EMIT advanced(m_step);
}

int GridSim::step() const
{
    return m_step;
}

ConditionLevel GridSim::level() const
{
    return LevelAt(m_scenario, m_step);
}

void GridSim::setAdvanceInterval(std::chrono::milliseconds interval)
{
    m_advanceTimer.stop();
    if (interval.count() > 0)
        m_advanceTimer.start(interval);
}

void GridSim::setAdvanceEveryRefreshes(int refreshes)
{
    m_advanceEveryRefreshes = refreshes;
}

int GridSim::refreshCount() const
{
    return m_refreshes;
}

bool GridSim::setReleaseVersion(const QString &version)
{
    if (!IsServableReleaseVersion(version))
        return false;
    m_releaseVersion = version;
    return true;
}

QString GridSim::releaseVersion() const
{
    return m_releaseVersion;
}

void GridSim::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_stepStarted = now();
}

QDateTime GridSim::now() const
{
    return m_clock();
}

GridSnapshot GridSim::snapshot() const
{
    return MakeSnapshot(m_scenario, m_step, m_stepStarted, now());
}

GridSnapshot GridSim::currentSnapshot() const
{
    return MakeSnapshot(m_scenario, m_step, OperatorWallClock(m_stepStarted),
                        OperatorWallClock(now()));
}

std::optional<SimResource> GridSim::resource(QStringView path) const
{
    if (path == kStatsPath)
        return SimResource{"text/plain", WriteStatsJson(currentSnapshot())};
    if (path == kDemandPath)
        return SimResource{"text/csv", WriteDemandCsv(currentSnapshot())};
    if (path == kFlexAlertEventsPath)
        return SimResource{"application/json; charset=utf-8",
                           WriteFlexAlertEvents(currentSnapshot())};
    if (path == kStatusCsvPath)
        return SimResource{"text/csv", WriteStatusCsv(snapshot())};
    if (path == kStatusPagePath)
        return SimResource{kHtmlType, WriteStatusPage(snapshot())};
    if (path == kForecastPagePath)
        return SimResource{kHtmlType, WriteForecastPage(snapshot())};
    if (path == kOutlookPagePath)
        return SimResource{kHtmlType, WriteOutlookPage(snapshot())};
    if (path == kLoadPicturePath)
        return SimResource{"image/png", DrawLoadPicture(snapshot())};
    if (path == kUpdateDescriptorFilePath)
        return SimResource{"text/plain; charset=utf-8",
                           WriteUpdateDescriptor(m_releaseVersion, now().date(), baseUrl())};
    if (path == kChangeLogPath)
        return SimResource{"text/plain; charset=utf-8", WriteChangeLog(m_releaseVersion)};
    if (path == kDownloadPagePath)
        return SimResource{"text/html; charset=utf-8", WriteDownloadPage(m_releaseVersion)};
    return std::nullopt;
}

void GridSim::setFault(QStringView path, const Fault &fault)
{
    if (fault.isNone())
        m_faults.remove(path.toString());
    else
        m_faults.insert(path.toString(), fault);
}

void GridSim::clearFault(QStringView path)
{
    m_faults.remove(path.toString());
}

void GridSim::clearFaults()
{
    m_faults.clear();
}

Fault GridSim::fault(QStringView path) const
{
    const auto own = m_faults.constFind(path.toString());
    if (own != m_faults.cend())
        return *own;
    return path.startsWith(u"/_sim/") ? Fault{} : m_faults.value(kEveryPath.toString());
}

int GridSim::requestCount(QStringView path) const
{
    return m_requestCounts.value(path.toString());
}

std::optional<SimRequest> GridSim::lastRequest(QStringView path) const
{
    const auto it = m_lastRequests.constFind(path.toString());
    return it == m_lastRequests.cend() ? std::nullopt : std::optional(*it);
}

QJsonObject GridSim::state() const
{
    QJsonObject faults;
    for (auto it = m_faults.cbegin(); it != m_faults.cend(); ++it)
        faults.insert(it.key(), FaultText(it.value()));
    return {{u"scenario"_qs, ScenarioName(m_scenario)},
            {u"step"_qs, m_step},
            {u"level"_qs, int(level())},
            {u"status"_qs, LevelStatusText(level())},
            {u"refreshes"_qs, m_refreshes},
            {u"releaseVersion"_qs, m_releaseVersion},
            {u"faults"_qs, faults}};
}

void GridSim::countRefresh()
{
    ++m_refreshes;
    if (m_advanceEveryRefreshes > 0 && m_refreshes > 1 &&
        (m_refreshes - 1) % m_advanceEveryRefreshes == 0)
        advance();
}

QByteArray GridSim::httpDate() const
{
    return QLocale::c().toString(now().toUTC(), u"ddd, dd MMM yyyy HH:mm:ss 'GMT'").toLatin1();
}

void GridSim::handle(const QString &path, bool headOnly, const QUrlQuery &query, QTcpSocket *socket)
{
    ++m_requestCounts[path];
    Q_EMIT requestReceived(path);
    if (path.startsWith(u"/_sim/")) {
        handleControl(path, query, socket);
        return;
    }
    // Either status file starts a refresh.
    if (path == kStatusCsvPath || path == kStatsPath)
        countRefresh();

    const Fault fault = this->fault(path);
    if (fault.reset == ResetPoint::BeforeHead) {
        ResponseWriter::resetConnection(socket);
        return;
    }
    ResponsePlan plan = PlanFor(resource(path), fault, path);
    plan.headOnly = headOnly;
    const QByteArray date = httpDate();
    if (fault.delay.count() > 0) {
        QTimer::singleShot(fault.delay, socket, [socket, plan = std::move(plan), date] {
            ResponseWriter::start(socket, plan, date);
        });
    } else {
        ResponseWriter::start(socket, std::move(plan), date);
    }
}

void GridSim::handleControl(const QString &path, const QUrlQuery &query, QTcpSocket *socket)
{
    ResponsePlan plan;
    plan.contentType = "application/json";
    QString error;
    if (path == kStatePath) {
    } else if (path == kAdvancePath) {
        advance();
    } else if (path == kResetPath) {
        reset();
    } else if (path == kScenarioPath) {
        if (const auto kind = ScenarioFromName(query.queryItemValue(u"name"_qs)))
            setScenario(*kind);
        else
            error = u"unknown scenario"_qs;
    } else if (path == kFaultPath) {
        const QString target = query.queryItemValue(u"path"_qs, QUrl::FullyDecoded);
        const auto fault = ParseFault(query.queryItemValue(u"set"_qs, QUrl::FullyDecoded), &error);
        if (!target.startsWith(u'/') && target != kEveryPath)
            error = u"path must start with / or be *"_qs;
        else if (fault)
            setFault(target, *fault);
    } else if (path == kClearFaultsPath) {
        clearFaults();
    } else if (path == kReleasePath) {
        if (!setReleaseVersion(query.queryItemValue(u"version"_qs, QUrl::FullyDecoded)))
            error = u"version must be one line of 1 to 32 characters"_qs;
    } else {
        plan.status = 404;
        plan.contentType = kHtmlType;
        plan.body = WriteErrorPage(404, path);
    }
    if (plan.status == 200) {
        QJsonObject body = state();
        if (!error.isEmpty()) {
            plan.status = 400;
            body = {{u"error"_qs, error}};
        }
        plan.body = QJsonDocument(body).toJson(QJsonDocument::Compact) + '\n';
    }
    ResponseWriter::start(socket, std::move(plan), httpDate());
}

} // namespace voltwise::gridsim

// voltwise-status: one refresh (or several) against the grid operator's
// servers, printed for scripts and status bars.
#include "app/cli/status_report.h"
#include "app/cli/update_report.h"
#include "monitor/grid_monitor.h"
#include "settings/app_settings.h"
#include "settings/qsettings_registry.h"
#include "settings/server_settings.h"
#include "update/software_update.h"
#include "update/url_text.h"
#include "update/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QTimer>

#include <cstdio>

using namespace voltwise;

namespace {

struct Options
{
    bool json = false;
    bool checkUpdate = false;
    int refreshes = 1;
    std::optional<QUrl> server;
};

int usageError(const QString &message)
{
    std::fprintf(stderr, "voltwise-status: %s\n", qPrintable(message));
    return 2;
}

std::optional<QUrl> parseServer(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const bool web = url.scheme() == u"http" || url.scheme() == u"https";
    // A query or user part would ride along on every request: not a base address.
    if (!url.isValid() || !web || url.host().isEmpty() ||
        (!url.path().isEmpty() && url.path() != u"/") || url.hasQuery() || url.hasFragment() ||
        !url.userInfo().isEmpty())
        return std::nullopt;
    return url.adjusted(QUrl::StripTrailingSlash);
}

// One report on standard output, as indented JSON or as text.
template <typename Json, typename Text>
void Print(bool json, Json asJson, Text asText)
{
    if (json) {
        const QByteArray bytes = QJsonDocument(asJson()).toJson(QJsonDocument::Indented);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    } else {
        std::fputs(asText().toLocal8Bit().constData(), stdout);
    }
    std::fflush(stdout);
}

QCoro::Task<int> run(const Options &options, ServerUrls servers)
{
    // The window's monitor, on the status alone: no timer, no chime.
    AppSettings settings;
    settings.PlaySound = false;
    MonitorServices services;
    services.servers = servers;
    GridMonitor monitor(services, settings);
    std::optional<ChangeNotice> notice;
    std::optional<StatusPresentation> presentation;
    ChartHeader chartHeader;
    QObject::connect(&monitor, &GridMonitor::refreshStarted, [&] { notice.reset(); });
    QObject::connect(&monitor, &GridMonitor::presented,
                     [&](const StatusPresentation &p, const GridData &data) {
                         presentation = p;
                         chartHeader = NextChartHeader(data.Status, chartHeader, QLocale::system());
                     });
    QObject::connect(&monitor, &GridMonitor::announced,
                     [&](const ChangeNotice &announced) { notice = announced; });
    for (int i = 0; i < options.refreshes; ++i)
        co_await monitor.refresh();
    monitor.stop();
    const StatusReport report{monitor.data(), *presentation, monitor.publishedItems(), notice,
                              chartHeader};
    Print(
        options.json, [&] { return StatusReportJson(report); },
        [&] { return StatusReportText(report); });
    co_return monitor.lastResult().statusCsvHttpStatus == 200 ? 0 : 1;
}

// The Help menu's check, looking only: no dialog, no setting changed.
QCoro::Task<int> checkUpdate(const Options &options, ServerUrls servers, RegistryBackend *store)
{
    HttpUrlTextSource urls;
    UpdateCheckContext context;
    context.urls = &urls;
    context.store = store;
    context.readOnly = true;
    const UpdateCheck check = co_await CheckForUpdate(
        context, ServerUrls::resolve(servers.maker, kUpdateDescriptorPath.toString()).toString(),
        false);
    Print(
        options.json, [&] { return UpdateReportJson(check); },
        [&] { return UpdateReportText(check); });
    co_return check.outcome == UpdateOutcome::None ? 1 : 0;
}

// Parameters by value: they live in the coroutine's frame.
QCoro::Task<> runAndExit(Options options, ServerUrls servers, RegistryBackend *store, int *exitCode)
{
    *exitCode = options.checkUpdate ? co_await checkUpdate(options, servers, store)
                                    : co_await run(options, servers);
    QCoreApplication::exit(*exitCode);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"voltwise-status"_qs);
    SetBuildStage(128);
    QCoreApplication::setApplicationVersion(VersionString());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Reads the California grid operator's status once and prints it. Exit status: 0 when "
        "the status file (the summary of today's feeds) came back with HTTP status 200, 1 "
        "otherwise, 2 on bad usage. With --check-update: 0 when the update descriptor was read "
        "and decided, 1 otherwise."_qs);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({u"json"_qs, u"Print one JSON object instead of a summary."_qs});
    parser.addOption({u"server"_qs,
                      u"Use URL (scheme://host[:port]) for all of the grid operator's servers "
                      "(with --check-update, for the maker's server)."_qs,
                      u"URL"_qs});
    parser.addOption({u"feeds"_qs,
                      u"Read the operator's feeds of today (current) or the classic status "
                      "file and pages (classic), whatever the settings say."_qs,
                      u"current|classic"_qs});
    parser.addOption({u"check-update"_qs,
                      u"Instead of the status, tell whether a newer Voltwise release is offered, "
                      "as the Help menu's check would; changes no setting."_qs});
    parser.addOption({u"refreshes"_qs,
                      u"Run N refreshes back to back, keeping state, and print after the last."_qs,
                      u"N"_qs, u"1"_qs});
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(u"help"_qs))
        parser.showHelp(0);
    if (parser.isSet(u"version"_qs))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        return usageError(u"unexpected argument: "_qs + parser.positionalArguments().first());

    Options options;
    options.json = parser.isSet(u"json"_qs);
    options.checkUpdate = parser.isSet(u"check-update"_qs);
    if (options.checkUpdate && parser.isSet(u"refreshes"_qs))
        return usageError(u"--refreshes does not go with --check-update"_qs);
    bool ok = false;
    options.refreshes = parser.value(u"refreshes"_qs).toInt(&ok);
    if (!ok || options.refreshes < 1)
        return usageError(u"--refreshes takes a whole number of at least 1"_qs);

    QSettingsRegistryBackend store{RegistryDirectoriesFromEnvironment()};
    ServerUrls servers = LoadServerUrls(store);
    if (parser.isSet(u"server"_qs)) {
        const auto server = parseServer(parser.value(u"server"_qs));
        if (!server)
            return usageError(u"--server takes a URL of the form scheme://host[:port]"_qs);
        servers.gridMain = servers.gridContent = servers.flexAlerts = *server;
        if (options.checkUpdate)
            servers.maker = *server;
    }
    if (parser.isSet(u"feeds"_qs)) {
        const auto feeds = FeedSourceFromText(parser.value(u"feeds"_qs));
        if (!feeds)
            return usageError(u"--feeds takes current or classic"_qs);
        servers.feeds = *feeds;
    }

    int exitCode = 1;
    QTimer::singleShot(0, &app, [&] { runAndExit(options, servers, &store, &exitCode); });
    app.exec();
    return exitCode;
}

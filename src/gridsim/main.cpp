#include "gridsim/grid_sim.h"
#include "platform/termination_signals.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

using namespace voltwise::gridsim;

namespace {

const char16_t kDescription[] =
    u"Simulated grid operator for Voltwise tests and demonstrations.\n"
    u"Serves on 127.0.0.1 only and prints one line \"listening on http://127.0.0.1:PORT\"\n"
    u"on standard output once it accepts connections.\n"
    u"\n"
    u"Resources:\n"
    u"  /outlook/systemstatus.csv   status file\n"
    u"  /awe/SP/systemstatus.html   status page with notices\n"
    u"  /awe/forecast.html          forecast page\n"
    u"  /outlook/SP/outlook.html    hourly outlook page\n"
    u"  /outlook/SP/ems_small.gif   load picture (PNG bytes)\n"
    u"The same scenario as the operator's feeds of today, on its Pacific clock:\n"
    u"  /outlook/current/stats.txt  summary (JSON)\n"
    u"  /outlook/current/demand.csv five-minute demand\n"
    u"  /TodaysOutlookApi/api/EmergencyNotices/v2/ActiveFlexAlertEvents  Flex Alerts (JSON)\n"
    u"  /voltwise/voltwise.inf      the maker's update descriptor (release version,\n"
    u"                              date, download page, change log)\n"
    u"  /voltwise/changes.txt       change log\n"
    u"  /voltwise/download.html     download page\n"
    u"Any other path answers 404 Not Found.\n"
    u"\n"
    u"Control paths (GET; each answers the state as JSON):\n"
    u"  /_sim/state                      current scenario, step, level, refreshes, faults\n"
    u"  /_sim/advance                    one step now\n"
    u"  /_sim/reset                      back to step 0\n"
    u"  /_sim/scenario?name=NAME         switch to scenario NAME (starts at step 0)\n"
    u"  /_sim/fault?path=PATH&set=FAULT  set the fault of PATH (set=none clears it)\n"
    u"  /_sim/clear-faults               clear every fault\n"
    u"  /_sim/release?version=V          the release the descriptor names\n"
    u"\n"
    u"Scenarios: normal (stays normal, figures drift), walk (normal, alert, warning,\n"
    u"stage 1, stage 2, stage 3, stage 3 load interruptions, then normal again; in\n"
    u"today's feeds: Normal, Flex Alert, EEA Watch, EEA 1, EEA 2, EEA 3, EEA 3 with\n"
    u"rotating outages ordered, Normal).\n"
    u"One refresh is one request of either status file; with --advance-refreshes N,\n"
    u"refreshes 1..N see step 0 and every N-th refresh after that steps first.\n"
    u"\n"
    u"Fault FAULT, comma-separated: delay:MS  status:CODE (200-599)  empty  html  stall\n"
    u"  oversize[:BYTES] (default 10485760)  chunked  trickle:MS (1 KiB per MS)\n"
    u"  cut  reset:head  reset:body  gzip-bomb[:BYTES] (default 67108864)  binary\n"
    u"  invalid-utf8  redirect:self  redirect:URL  none\n"
    u"  e.g. --fault /awe/forecast.html=status:404 --fault "
    u"/outlook/SP/outlook.html=delay:2000,stall\n"
    u"PATH * faults every resource without a fault of its own: --fault '*=stall'";

int Fail(const QString &message)
{
    QTextStream(stderr) << "voltwise-gridsim: " << message << Qt::endl;
    return 2;
}

std::optional<int> NonNegative(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    // Draws the load picture off screen; it never shows a window.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"voltwise-gridsim"_qs);
    QCoreApplication::setApplicationVersion(u"%1.%2.%3"_qs.arg(VOLTWISE_VERSION_MAJOR)
                                                .arg(VOLTWISE_VERSION_MINOR)
                                                .arg(VOLTWISE_VERSION_PATCH));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf16(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(u"port"_qs, u"Port to listen on; 0 picks a free one."_qs,
                                        u"N"_qs, u"0"_qs);
    const QCommandLineOption scenarioOption(u"scenario"_qs, u"normal or walk."_qs, u"NAME"_qs,
                                            u"normal"_qs);
    const QCommandLineOption secondsOption(u"advance-seconds"_qs,
                                           u"Step every N seconds; 0 never."_qs, u"N"_qs, u"0"_qs);
    const QCommandLineOption refreshesOption(
        u"advance-refreshes"_qs, u"Step every N refreshes; 0 never."_qs, u"N"_qs, u"0"_qs);
    const QCommandLineOption faultOption(
        u"fault"_qs, u"Fault for one path (* for all); repeatable."_qs, u"PATH=FAULT"_qs);
    const QCommandLineOption verboseOption(u"verbose"_qs,
                                           u"Log every request on standard error."_qs);
    const QCommandLineOption releaseOption(
        u"release-version"_qs,
        u"The release the update descriptor names; a newer one than Voltwise's own makes it "
        "offer an update. Default: Voltwise's own version."_qs,
        u"V"_qs);
    parser.addOptions({portOption, scenarioOption, secondsOption, refreshesOption, faultOption,
                       verboseOption, releaseOption});
    parser.process(app);

    const auto port = NonNegative(parser.value(portOption));
    if (!port || *port > 65535)
        return Fail(u"--port must be 0 to 65535"_qs);
    const auto scenario = ScenarioFromName(parser.value(scenarioOption));
    if (!scenario)
        return Fail(u"--scenario must be normal or walk"_qs);
    const auto seconds = NonNegative(parser.value(secondsOption));
    if (!seconds || *seconds > 2'000'000)
        return Fail(u"--advance-seconds must be 0 to 2000000"_qs);
    const auto refreshes = NonNegative(parser.value(refreshesOption));
    if (!refreshes)
        return Fail(u"--advance-refreshes must be a whole number"_qs);

    GridSim sim;
    sim.setScenario(*scenario);
    sim.setAdvanceInterval(std::chrono::seconds(*seconds));
    sim.setAdvanceEveryRefreshes(*refreshes);
    if (parser.isSet(releaseOption) && !sim.setReleaseVersion(parser.value(releaseOption)))
        return Fail(u"--release-version must be one line of 1 to 32 characters"_qs);
    for (const QString &option : parser.values(faultOption)) {
        QString error;
        const auto pathFault = ParsePathFault(option, &error);
        if (!pathFault)
            return Fail(error);
        sim.setFault(pathFault->path, pathFault->fault);
    }
    if (parser.isSet(verboseOption)) {
        QObject::connect(&sim, &GridSim::requestReceived, &sim, [&sim](const QString &path) {
            QTextStream(stderr) << "step " << sim.step() << ": " << path << Qt::endl;
        });
    }

    // Ended by a signal, the server still closes its sockets and exits with 0.
    voltwise::TerminationSignals termination;
    QObject::connect(&termination, &voltwise::TerminationSignals::terminationRequested, &app,
                     &QCoreApplication::quit);
    if (!sim.listen(QHostAddress::LocalHost, quint16(*port)))
        return Fail(u"cannot listen on 127.0.0.1 port %1"_qs.arg(*port));
    std::printf("listening on http://127.0.0.1:%u\n", unsigned(sim.port()));
    std::fflush(stdout);
    return app.exec();
}

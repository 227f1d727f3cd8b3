#include "gridsim/current_feeds_writer.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "support/sim_fixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

namespace {

const QList<QStringView> kResources{kStatusCsvPath, kLoadPicturePath, kOutlookPagePath,
                                    kForecastPagePath, kStatusPagePath};

// A top-level member of the JSON: its type and, for an array, its length
// (-1: any) and item type.
struct Member
{
    QString key;
    QJsonValue::Type type;
    qsizetype length = 0;
    QJsonValue::Type item = QJsonValue::Null;
};
using enum QJsonValue::Type;
// clang-format off
const QList<Member> kMembers{
    {u"gridStatus"_qs, Object}, {u"published"_qs, Object}, {u"trayTip"_qs, String},
    {u"statusText"_qs, String}, {u"noticesText"_qs, String}, {u"statusTableText"_qs, String},
    {u"forecastsText"_qs, String}, {u"noticeHeader"_qs, String}, {u"iconIndex"_qs, Double},
    {u"levelScale"_qs, Array, 6, Bool}, {u"forecastScale"_qs, Array, 3, Bool},
    {u"conditions"_qs, Array, 7, String}, {u"loadReductions"_qs, Array, 8, String},
    {u"outlook"_qs, Array, 24, Array}, {u"operatorStatus"_qs, Array, -1, String},
    {u"chartHeader"_qs, Array, 2, String}};
// clang-format on

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The wall-clock time that the simulator writes for `time`.
QJsonValue WallClock(const QDateTime &time)
{
    return time.toString(u"yyyy-MM-ddTHH:mm:ss"_qs);
}

QString Megawatts(double value, const QString &localeName = u"en_US"_qs)
{
    QLocale locale(localeName);
    locale.setNumberOptions(QLocale::DefaultNumberOptions); // the C locale groups too
    return locale.toString(qint64(value)) + u" MW"_qs;
}

QString Page(const GridSim &sim, QStringView path)
{
    return QString::fromLatin1(sim.resource(path)->body);
}

void CheckShape(const QJsonObject &json)
{
    QStringList keys;
    for (const Member &m : kMembers) {
        keys << m.key;
        const QJsonArray array = json[m.key].toArray();
        const bool items = std::all_of(array.begin(), array.end(), [&](const QJsonValue &item) {
            return item.type() == m.item;
        });
        QVERIFY2(json[m.key].type() == m.type && (m.length < 0 || array.size() == m.length) &&
                     items,
                 qPrintable(m.key));
    }
    keys.sort();
    QCOMPARE(json.keys(), keys);
    const QJsonObject published = json[u"published"].toObject();
    QCOMPARE(published.keys(),
             (QStringList{u"CurrentLoad"_qs, u"SystemCondition"_qs, u"UpdateTime"_qs}));
    QVERIFY(std::all_of(published.begin(), published.end(), [](auto v) { return v.isString(); }));
}

} // namespace

// Runs the real voltwise-status program against the in-process simulator,
// waiting for it through the event loop so that the simulator can answer.
class TestStatusTool : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    std::unique_ptr<QTemporaryDir> m_config;

    QString server() const { return m_sim->baseUrl().toString(); }

    void writeSettings(const QByteArray &conf)
    {
        QVERIFY(QDir().mkpath(m_config->filePath(u"Ternwood"_qs)));
        QFile file(m_config->filePath(u"Ternwood/Voltwise.conf"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(conf);
    }

    ToolRun run(const QStringList &arguments, const QString &timeZone = QString(),
                const QString &locale = u"en_US"_qs)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LC_ALL"_qs, locale + u".UTF-8"_qs);
        env.insert(u"XDG_CONFIG_HOME"_qs, m_config->path());
        env.insert(u"XDG_CONFIG_DIRS"_qs, m_config->filePath(u"system"_qs));
        if (!timeZone.isEmpty())
            env.insert(u"TZ"_qs, timeZone);
        QProcess tool;
        tool.setProcessEnvironment(env);
        QSignalSpy finished(&tool, &QProcess::finished);
        tool.start(QStringLiteral(VOLTWISE_STATUS_TOOL), arguments);
        if (!tool.waitForStarted(10000) || (finished.isEmpty() && !finished.wait(60000)) ||
            tool.exitStatus() != QProcess::NormalExit)
            return {};
        return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
    }

private Q_SLOTS:
    void init()
    {
        m_config = std::make_unique<QTemporaryDir>();
        QVERIFY(m_config->isValid());
        writeSettings("[Servers]\nFeeds=classic\n");
        m_sim = StartSim();
        QVERIFY(m_sim);
    }

    void cleanup()
    {
        m_sim.reset();
        m_config.reset();
    }

    // The operator's data reads the same in every locale of the user (the
    // day and month of 10 September can swap, "27,014" can be a decimal);
    // what the user sees is in the user's locale.
    void jsonOutput_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QDateTime>("clock");
        QTest::addColumn<QString>("timeZone");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shownDate");
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<QString>("condition");

        const QDateTime september(QDate(2024, 9, 10), QTime(14, 32, 10), Qt::UTC);
        for (const auto &[locale, date] :
             {std::pair(u"en_US"_qs, u"9/10/2024"_qs), std::pair(u"de_DE"_qs, u"10.09.2024"_qs),
              std::pair(u"en_GB"_qs, u"10/09/2024"_qs), std::pair(u"fr_FR"_qs, u"10/09/2024"_qs),
              std::pair(u"C"_qs, u"10 Sep 2024"_qs)})
            QTest::addRow("normal, %s", qPrintable(locale))
                << 0 << september << QString() << locale << date << u"System Normal"_qs
                << u"System Normal"_qs;
        QTest::newRow("load interruptions")
            << 6 << kAfternoon << QString() << u"en_US"_qs << u"7/15/2024"_qs
            << u"Rolling Blackouts"_qs << u"Emergency Load Reductions"_qs;
        // The operator's 02:30 does not exist on that night in the tool's zone;
        // the dates still read as the operator wrote them.
        QTest::newRow("alert, time in a daylight-saving gap")
            << 1 << QDateTime(QDate(2024, 3, 10), QTime(2, 32, 10), Qt::UTC)
            << u"America/Los_Angeles"_qs << u"en_US"_qs << u"3/10/2024"_qs << u"Alert Notice"_qs
            << u"Alert Notice"_qs;
    }

    void jsonOutput()
    {
        QFETCH(int, step);
        QFETCH(QDateTime, clock);
        QFETCH(QString, timeZone);
        QFETCH(QString, locale);
        QFETCH(QString, shownDate);
        QFETCH(QString, statusText);
        QFETCH(QString, condition);
        m_sim->setClock([clock] { return clock; });
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < step; ++i)
            m_sim->advance();
        const GridSnapshot s = m_sim->snapshot();

        const ToolRun result = run({u"--json"_qs, u"--server"_qs, server()}, timeZone, locale);
        QCOMPARE(result.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        CheckShape(json);
        if (QTest::currentTestFailed())
            return;

        const auto &notice = s.forecastNotice;
        const bool timed = s.level != LevelNormal;
        // clang-format off
        const QJsonObject status{
            {u"Level"_qs, int(s.level)}, {u"Produced"_qs, WallClock(s.produced)},
            {u"ActualDemand"_qs, s.actualDemand}, {u"ActualDemandTime"_qs, WallClock(s.measured)},
            {u"AvailableResources"_qs, s.availableResources},
            {u"AvailableResourcesTime"_qs, WallClock(s.measured)},
            {u"ReserveMargin"_qs, s.availableResources - s.actualDemand},
            {u"PeakDemandToday"_qs, s.peakDemandToday},
            {u"ForecastPeakToday"_qs, s.forecastPeakToday},
            {u"ForecastPeakTomorrow"_qs, s.forecastPeakTomorrow},
            {u"Interruption1"_qs, s.interruptions.pge}, {u"Interruption2"_qs, s.interruptions.sce},
            {u"Interruption3"_qs, s.interruptions.sdge},
            {u"Interruption4"_qs, s.interruptions.pasadena},
            {u"Interruption5"_qs, s.interruptions.vernon},
            {u"ForecastKind"_qs, 0}, // no reader sets it
            {u"NoticeStart"_qs, notice ? WallClock(notice->start) : QJsonValue()},
            {u"NoticeEnd"_qs, notice ? WallClock(notice->end) : QJsonValue()},
            {u"NoticeValue"_qs, notice && notice->megawatts ? *notice->megawatts : 0.0},
            {u"LevelStart"_qs, timed ? WallClock(s.levelStart) : QJsonValue()},
            {u"LevelEnd"_qs, timed ? WallClock(s.levelEnd) : QJsonValue()}};
        // clang-format on
        QCOMPARE(json[u"gridStatus"].toObject().keys(), status.keys());
        for (const QString &name : status.keys())
            QVERIFY2(json[u"gridStatus"][name] == status[name], qPrintable(name));

        const QString load = Megawatts(s.actualDemand, locale);
        const NoticesTexts notices = ReadNoticesPage(Page(*m_sim, kStatusPagePath), {});
        QJsonArray outlook, levelScale;
        for (const HourFigures &h : s.hours)
            outlook.append(QJsonArray{h.dayAhead, h.hourAhead,
                                      h.actual ? QJsonValue(*h.actual) : QJsonValue(),
                                      h.resources});
        for (int i = 0; i < 6; ++i)
            levelScale.append(i == std::min(int(s.level), 6) - 1);
        const QJsonObject expected{
            {u"statusText"_qs, statusText},
            {u"trayTip"_qs, condition + u": "_qs + load},
            {u"noticeHeader"_qs, statusText + u": "_qs + load},
            {u"iconIndex"_qs, int(s.level) + 1},
            {u"levelScale"_qs, levelScale},
            {u"noticesText"_qs, notices.NoticesText},
            {u"statusTableText"_qs, notices.StatusTableText},
            {u"forecastsText"_qs, ReadForecastPage(Page(*m_sim, kForecastPagePath), {})},
            {u"outlook"_qs, outlook},
            // The chart's time is the Conditions tab's, checked below.
            {u"chartHeader"_qs, QJsonArray{u"Current Load: "_qs + load, json[u"conditions"][0]}}};
        for (const QString &key : expected.keys())
            QVERIFY2(json[key] == expected[key], qPrintable(key));
        QCOMPARE(json[u"published"][u"SystemCondition"].toString(), condition);
        QCOMPARE(json[u"published"][u"CurrentLoad"].toString(), QString::number(s.actualDemand));
        QCOMPARE(json[u"conditions"][2].toString(), u' ' + load);
        const QString updated = json[u"conditions"][0].toString();
        QVERIFY2(updated.startsWith(u"Updated: "_qs + shownDate + u' '), qPrintable(updated));
        // The outlook has hours still to come.
        QVERIFY(std::any_of(s.hours.begin(), s.hours.end(), [](auto &h) { return !h.actual; }));
    }

    // Exit status 0 when the status file came back with HTTP status 200, 1
    // otherwise. The notice is raised by the first refresh and by a change,
    // not by a refresh that finds the same status.
    void refreshes_data()
    {
        QTest::addColumn<QString>("trouble"); // PATH=FAULT, or "refused"
        QTest::addColumn<int>("refreshes");
        QTest::addColumn<bool>("walk");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("header"); // null: none raised

        const QString csv = kStatusCsvPath.toString();
        QTest::newRow("one refresh") << QString() << 1 << false << 0 << u"System Normal: "_qs;
        QTest::newRow("two refreshes, no change") << QString() << 2 << false << 0 << QString();
        QTest::newRow("two refreshes, a step between")
            << QString() << 2 << true << 0 << u"Alert Notice: "_qs;
        QTest::newRow("status file empty") << csv + u"=empty"_qs << 1 << false << 0 << QString();
        QTest::newRow("status file 404") << csv + u"=status:404"_qs << 1 << false << 1 << QString();
        QTest::newRow("status page 404")
            << kStatusPagePath.toString() + u"=status:404"_qs << 1 << false << 0 << QString();
        QTest::newRow("server refused") << u"refused"_qs << 1 << false << 1 << QString();
    }

    void refreshes()
    {
        QFETCH(QString, trouble);
        QFETCH(int, refreshes);
        QFETCH(bool, walk);
        QFETCH(int, exitCode);
        QFETCH(QString, header);
        m_sim->setScenario(walk ? ScenarioKind::Walk : ScenarioKind::Normal);
        m_sim->setAdvanceEveryRefreshes(walk ? 1 : 0);
        if (const auto fault = ParsePathFault(trouble))
            m_sim->setFault(fault->path, fault->fault);
        const QString url = trouble == u"refused" ? RefusingUrl().toString() : server();

        const ToolRun result =
            run({u"--json"_qs, u"--server"_qs, url, u"--refreshes"_qs, QString::number(refreshes)});

        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0)
            QCOMPARE(result.err, QByteArray());
        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        QVERIFY(!json.isEmpty());
        if (trouble.isEmpty())
            QCOMPARE(m_sim->requestCount(kStatusCsvPath), refreshes);
        if (exitCode == 1) // no demand known yet: the chart's design header
            QCOMPARE(json[u"chartHeader"].toArray(),
                     (QJsonArray{u"Current Load: Unknown"_qs, u"Updated: Not Updated"_qs}));
        if (header.isNull())
            QVERIFY(json[u"noticeHeader"].isNull());
        else
            QCOMPARE(json[u"noticeHeader"].toString(),
                     header + Megawatts(m_sim->snapshot().actualDemand));
    }

    // Exit status 2, one line on standard error, nothing requested.
    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments"); // SERVER stands for the simulator

        QTest::newRow("unknown option") << QStringList{u"--bogus"_qs};
        QTest::newRow("positional argument") << QStringList{u"SERVER"_qs};
        QTest::newRow("refreshes 0") << QStringList{u"--refreshes=0"_qs};
        QTest::newRow("refreshes 1.5") << QStringList{u"--refreshes"_qs, u"1.5"_qs};
        QTest::newRow("server not a URL") << QStringList{u"--server"_qs, u"not a url"_qs};
        QTest::newRow("server ftp") << QStringList{u"--server"_qs, u"ftp://127.0.0.1"_qs};
        QTest::newRow("server without host") << QStringList{u"--server"_qs, u"http://"_qs};
        QTest::newRow("server with a path") << QStringList{u"--server"_qs, u"SERVER/outlook"_qs};
        QTest::newRow("server with a query") << QStringList{u"--server"_qs, u"SERVER/?a=1"_qs};
        QTest::newRow("server with a fragment") << QStringList{u"--server"_qs, u"SERVER#top"_qs};
        QTest::newRow("server with a user")
            << QStringList{u"--server"_qs, u"http://user@127.0.0.1:PORT"_qs};
        QTest::newRow("unknown feeds") << QStringList{u"--feeds"_qs, u"latest"_qs};
    }

    void badUsage()
    {
        QFETCH(QStringList, arguments);
        arguments.replaceInStrings(u"SERVER"_qs, server());
        arguments.replaceInStrings(u"PORT"_qs, QString::number(m_sim->port()));

        const ToolRun result = run(arguments);

        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QByteArray());
        QVERIFY2(result.err.startsWith("voltwise-status: ") && result.err.count('\n') == 1 &&
                     result.err.endsWith('\n'),
                 result.err.constData());
        for (const QStringView path : kResources)
            QCOMPARE(m_sim->requestCount(path), 0);
    }

    void serversFromSettings_data()
    {
        QTest::addColumn<bool>("serverOption");
        QTest::newRow("settings file") << false;
        QTest::newRow("--server over the settings file") << true;
    }

    void serversFromSettings()
    {
        QFETCH(bool, serverOption);
        const std::unique_ptr<GridSim> content = StartSim();
        const std::unique_ptr<GridSim> other = StartSim();
        QVERIFY(content && other);
        writeSettings("[Servers]\nFeeds=classic\nGridMain=" + m_sim->baseUrl().toEncoded() +
                      "\nGridContent=" + content->baseUrl().toEncoded() + "\n");

        const ToolRun result =
            run(serverOption ? QStringList{u"--server"_qs, other->baseUrl().toString()}
                             : QStringList{});

        QCOMPARE(result.exitCode, 0);
        for (const QStringView path : kResources) {
            const bool onMain = path == kStatusCsvPath || path == kForecastPagePath;
            const GridSim *asked = serverOption ? other.get()
                                   : onMain     ? m_sim.get()
                                                : content.get();
            for (const GridSim *sim : {m_sim.get(), content.get(), other.get()})
                QVERIFY2(sim->requestCount(path) == (sim == asked ? 1 : 0),
                         qPrintable(path.toString()));
        }
    }

    // Today's feeds over the settings' classic ones: the walk's levels with
    // the operator's own words.
    void currentFeeds_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("statusText");
        QTest::newRow("Normal") << 0 << u"System Normal"_qs;
        QTest::newRow("Flex Alert") << 1 << u"Alert Notice"_qs;
        QTest::newRow("EEA 1") << 3 << u"Stage 1 Emergency"_qs;
        QTest::newRow("EEA 3, rotating outages ordered") << 6 << u"Rolling Blackouts"_qs;
    }

    void currentFeeds()
    {
        QFETCH(int, step);
        QFETCH(QString, statusText);
        // The tool reads by the real clock: a summary of another day is refused.
        const QDateTime now = QDateTime::currentDateTime();
        m_sim->setClock([now] { return now; });
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < step; ++i)
            m_sim->advance();
        const GridSnapshot s = m_sim->currentSnapshot();

        const ToolRun result =
            run({u"--json"_qs, u"--feeds"_qs, u"current"_qs, u"--server"_qs, server()});

        QCOMPARE(result.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        CheckShape(json);
        QJsonArray words;
        for (const QString &word : OperatorWordsOf(s.level))
            words.append(word);
        QCOMPARE(json[u"operatorStatus"].toArray(), words);
        QCOMPARE(json[u"gridStatus"][u"Level"].toInt(), int(s.level));
        QCOMPARE(json[u"statusText"].toString(), statusText);
        QCOMPARE(json[u"noticeHeader"].toString(),
                 statusText + u": "_qs + Megawatts(s.actualDemand));
        QVERIFY(json[u"statusTableText"].toString().startsWith(u"Grid status: "_qs +
                                                               words[0].toString()));
        QCOMPARE(m_sim->requestCount(kStatusCsvPath), 0);
        for (const QStringView path : {kStatsPath, kDemandPath, kFlexAlertEventsPath})
            QCOMPARE(m_sim->requestCount(path), 1);
    }

    void humanReadableSummary()
    {
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->advance();
        const GridSnapshot s = m_sim->snapshot();
        QString notices = ReadNoticesPage(Page(*m_sim, kStatusPagePath), {}).NoticesText;
        QString forecasts = ReadForecastPage(Page(*m_sim, kForecastPagePath), {});
        QVERIFY(notices.contains(s.activeNotices.value(0).left(30)));

        const ToolRun result = run({u"--server"_qs, server()});

        QCOMPARE(result.exitCode, 0);
        const QString text = QString::fromUtf8(result.out);
        QVERIFY2(text.startsWith(u"Alert Notice\n") && !text.contains(u'\r'), qPrintable(text));
        for (const QString &part :
             {u"Current System Load: "_qs + Megawatts(s.actualDemand) + u'\n',
              u"\nCurrent Load Reductions: None Required\n"_qs,
              notices.replace(u"\r\n"_qs, u"\n"_qs), forecasts.replace(u"\r\n"_qs, u"\n"_qs)})
            QVERIFY2(text.contains(part), qPrintable(part));
    }
};

QTEST_GUILESS_MAIN(TestStatusTool)
#include "test_status_tool.moc"

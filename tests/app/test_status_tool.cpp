// Runs the real voltwise-status program against the in-process simulator,
// waiting for it through the event loop so that the simulator can answer.
#include "gridsim/current_feeds_writer.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "support/files.h"
#include "support/sim_fixture.h"

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

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

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

} // namespace

class TestStatusTool : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    std::unique_ptr<QTemporaryDir> m_config;

    QString server() const { return m_sim->baseUrl().toString(); }
    QString settingsFile() const { return m_config->filePath(u"Ternwood/Voltwise.conf"_qs); }

    ToolRun run(const QStringList &arguments, const QString &timeZone = QString(),
                const QString &locale = u"en_US"_qs)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LC_ALL"_qs, locale + u".UTF-8"_qs);
        // Scripts read English whatever language their user speaks.
        env.insert(u"LANGUAGE"_qs, u"es"_qs);
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
        QVERIFY(WriteBytes(settingsFile(), "[Servers]\nFeeds=classic\n"));
        m_sim = StartSim();
        QVERIFY(m_sim);
    }

    // Two refreshes, the notice reported the last one's (raised as the monitor
    // decides: test_grid_monitor). The operator's data reads the same in every
    // locale of the user (the day and month of 10 September can swap, "27,014"
    // can be a decimal); what the user sees is in the user's locale.
    void jsonOutput_data()
    {
        QTest::addColumn<QDateTime>("clock");
        QTest::addColumn<QString>("timeZone");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shownDate");
        QTest::addColumn<QString>("condition"); // past the first: a step between

        const QDateTime september(QDate(2024, 9, 10), QTime(14, 32, 10), Qt::UTC);
        for (const auto &[locale, date] :
             {std::pair(u"en_US"_qs, u"9/10/2024"_qs), std::pair(u"es_US"_qs, u"10/9/2024"_qs),
              std::pair(u"de_DE"_qs, u"10.09.2024"_qs), std::pair(u"fr_FR"_qs, u"10/09/2024"_qs),
              std::pair(u"C"_qs, u"10 Sep 2024"_qs)})
            QTest::addRow("normal, %s", qPrintable(locale))
                << september << QString() << locale << date << u"System Normal"_qs;
        // The operator's 02:30 does not exist on that night in the tool's zone;
        // the dates still read as the operator wrote them.
        QTest::newRow("alert, time in a daylight-saving gap")
            << QDateTime(QDate(2024, 3, 10), QTime(2, 32, 10), Qt::UTC) << u"America/Los_Angeles"_qs
            << u"en_US"_qs << u"3/10/2024"_qs << u"Alert Notice"_qs;
    }

    void jsonOutput()
    {
        QFETCH(QDateTime, clock);
        QFETCH(QString, locale);
        QFETCH(QString, condition);
        const bool step = condition != u"System Normal";
        m_sim->setClock([clock] { return clock; });
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->setAdvanceEveryRefreshes(step ? 1 : 0);

        QFETCH(QString, timeZone);
        const ToolRun result =
            run({u"--json"_qs, u"--server"_qs, server(), u"--refreshes=2"_qs}, timeZone, locale);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(m_sim->requestCount(kStatusCsvPath), 2);
        const GridSnapshot s = m_sim->snapshot();
        const QJsonObject json = result.json();
        const QJsonObject status = json[u"gridStatus"].toObject();
        const auto wallClock = [](const QDateTime &time) {
            return QJsonValue(time.toString(u"yyyy-MM-ddTHH:mm:ss"_qs));
        };
        QCOMPARE(status[u"Level"].toInt(), int(s.level));
        QCOMPARE(status[u"Produced"], wallClock(s.produced));
        QCOMPARE(status[u"ActualDemand"].toDouble(), s.actualDemand);
        QCOMPARE(status[u"LevelStart"], step ? wallClock(s.levelStart) : QJsonValue());

        const QString load = Megawatts(s.actualDemand, locale);
        const QString updated = json[u"conditions"][0].toString();
        QFETCH(QString, shownDate);
        QVERIFY2(updated.startsWith(u"Updated: "_qs + shownDate + u' '), qPrintable(updated));
        QCOMPARE(json[u"conditions"][2].toString(), u' ' + load);
        QCOMPARE(json[u"statusText"].toString(), condition);
        QCOMPARE(json[u"trayTip"].toString(), condition + u": "_qs + load);
        QCOMPARE(json[u"noticeHeader"].toString(), step ? condition + u": "_qs + load : QString());
        QCOMPARE(json[u"published"][u"CurrentLoad"].toString(), QString::number(s.actualDemand));
        QCOMPARE(u"Updated: "_qs + json[u"published"][u"UpdateTime"].toString(), updated);
        // The chart's time is the Conditions tab's.
        QCOMPARE(json[u"chartHeader"].toArray(),
                 (QJsonArray{u"Current Load: "_qs + load, updated}));
        QCOMPARE(json[u"noticesText"].toString(),
                 ReadNoticesPage(Page(*m_sim, kStatusPagePath), {}).NoticesText);
        // The outlook has hours still to come.
        QVERIFY(json[u"outlook"][23][2].isNull());
    }

    // Exit status 2, one line on standard error, nothing requested.
    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments"); // SERVER stands for the simulator
        for (const QString &arguments :
             {u"--bogus"_qs, u"SERVER"_qs, u"--refreshes=0"_qs, u"--server ftp://127.0.0.1"_qs,
              u"--server http://"_qs, u"--server SERVER/outlook"_qs, u"--server SERVER/?a=1"_qs,
              u"--server SERVER#top"_qs, u"--server http://user@127.0.0.1:PORT"_qs,
              u"--feeds latest"_qs, u"--check-update --refreshes 2"_qs})
            QTest::newRow(qPrintable(arguments)) << arguments.split(u' ');
    }

    void badUsage()
    {
        QFETCH(QStringList, arguments);
        arguments.replaceInStrings(u"SERVER"_qs, server());
        arguments.replaceInStrings(u"PORT"_qs, QString::number(m_sim->port()));

        QSignalSpy requests(m_sim.get(), &GridSim::requestReceived);
        const ToolRun result = run(arguments);

        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QByteArray());
        QVERIFY2(result.err.startsWith("voltwise-status: ") && result.err.count('\n') == 1 &&
                     result.err.endsWith('\n'),
                 result.err.constData());
        QCOMPARE(requests.size(), 0);
    }

    // GridMain serves the status file and the forecast page, GridContent the
    // rest; --server goes over both, --feeds over the settings' feeds. Exit
    // status 1 when the status file (or today's summary) did not come back with
    // HTTP status 200. Without --json, a summary in plain text.
    void serversFeedsAndSummary()
    {
        // The tool reads by the real clock: a summary of another day is refused.
        const std::unique_ptr<GridSim> content = StartSim(QDateTime::currentDateTime());
        const std::unique_ptr<GridSim> other = StartSim();
        QVERIFY(content && other);
        QVERIFY(WriteBytes(settingsFile(),
                           "[Servers]\nFeeds=classic\nGridMain=" + m_sim->baseUrl().toEncoded() +
                               "\nGridContent=" + content->baseUrl().toEncoded() + "\n"));
        other->setScenario(ScenarioKind::Walk);
        other->advance();
        QString notices = ReadNoticesPage(Page(*other, kStatusPagePath), {}).NoticesText;
        QString forecasts = ReadForecastPage(Page(*other, kForecastPagePath), {});

        QCOMPARE(run({}).exitCode, 0);
        const ToolRun result = run({u"--server"_qs, other->baseUrl().toString()});
        const QString feeds = u"--feeds=current"_qs, json = u"--json"_qs, server = u"--server"_qs;
        const ToolRun current = run({json, feeds, server, content->baseUrl().toString()});
        const ToolRun refused = run({json, server, RefusingUrl().toString()});

        QCOMPARE(result.exitCode, 0);
        const QString text = QString::fromUtf8(result.out);
        QVERIFY2(text.startsWith(u"Alert Notice\n") && !text.contains(u'\r'), qPrintable(text));
        for (const QString &part :
             {u"Current System Load: "_qs + Megawatts(other->snapshot().actualDemand) + u'\n',
              u"\nCurrent Load Reductions: None Required\n"_qs,
              notices.replace(u"\r\n"_qs, u"\n"_qs), forecasts.replace(u"\r\n"_qs, u"\n"_qs)})
            QVERIFY2(text.contains(part), qPrintable(part));
        // Which resource goes to which server: test_grid_readers.
        QVERIFY(m_sim->requestCount(kStatusCsvPath) == 1 && !content->requestCount(kStatusCsvPath));
        QVERIFY(content->requestCount(kStatusPagePath) == 1 &&
                !m_sim->requestCount(kStatusPagePath));
        QCOMPARE(other->requestCount(kStatusPagePath), 1);

        QCOMPARE(current.exitCode, 0);
        QCOMPARE(content->requestCount(kStatsPath), 1);
        const QStringList words = OperatorWordsOf(content->currentSnapshot().level);
        QCOMPARE(current.json()[u"operatorStatus"].toArray().toVariantList(),
                 QVariant(words).toList());
        QVERIFY(current.json()[u"statusTableText"].toString().startsWith(u"Grid status: "_qs +
                                                                         words[0]));
        QCOMPARE(refused.exitCode, 1);
        // No demand known yet: the chart's design header.
        QCOMPARE(refused.json()[u"chartHeader"].toArray(),
                 (QJsonArray{u"Current Load: Unknown"_qs, u"Updated: Not Updated"_qs}));
    }

    // --check-update: the outcome, the settings file left as it was (an
    // overtaken skip stays stored), exit status 1 when nothing could be read.
    void checkUpdate_data()
    {
        QTest::addColumn<QString>("skip");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("outcome"); // the release 9.0
        QTest::newRow("offer; an overtaken skip stays stored")
            << u"1.0"_qs << u"none"_qs << u"offer"_qs;
        QTest::newRow("skipped release") << u"9.0"_qs << u"none"_qs << u"upToDate"_qs;
        QTest::newRow("no descriptor") << QString() << u"status:404"_qs << u"none"_qs;
    }

    void checkUpdate()
    {
        QFETCH(QString, skip);
        QFETCH(QString, fault);
        QFETCH(QString, outcome);
        QVERIFY(m_sim->setReleaseVersion(u"9.0"_qs));
        m_sim->setFault(kUpdateDescriptorFilePath, *ParseFault(fault));
        QByteArray settings = "[Servers]\nMaker=" + m_sim->baseUrl().toEncoded() + '\n';
        if (!skip.isEmpty())
            settings += "[Settings]\nSkipVersion=" + skip.toUtf8() + '\n';
        QVERIFY(WriteBytes(settingsFile(), settings));

        const ToolRun result = run({u"--check-update"_qs, u"--json"_qs});

        QCOMPARE(result.exitCode, outcome == u"none" ? 1 : 0);
        const QJsonObject update = result.json()[u"update"].toObject();
        QCOMPARE(update[u"outcome"].toString(), outcome);
        QCOMPARE(update[u"releaseVersion"].toString(), outcome == u"none" ? QString() : u"9.0"_qs);
        QCOMPARE(update[u"title"].isString(), outcome == u"offer");
        QCOMPARE(m_sim->requestCount(kChangeLogPath), outcome == u"offer" ? 1 : 0);
        QCOMPARE(ReadBytes(settingsFile()), settings);
    }
};

QTEST_GUILESS_MAIN(TestStatusTool)
#include "test_status_tool.moc"

#include "gridsim/grid_sim.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;

namespace {

const QDateTime kAfternoon(QDate(2024, 7, 15), QTime(14, 32, 10), Qt::UTC);

const QList<QStringView> kResources{kStatusCsvPath, kLoadPicturePath, kOutlookPagePath,
                                    kForecastPagePath, kStatusPagePath};

const QStringList kNumberFields{
    u"ActualDemand"_qs,    u"AvailableResources"_qs,   u"ForecastKind"_qs,  u"NoticeValue"_qs,
    u"Interruption1"_qs,   u"Interruption2"_qs,        u"Interruption3"_qs, u"Interruption4"_qs,
    u"Interruption5"_qs,   u"ReserveMargin"_qs,        u"Level"_qs,         u"ForecastPeakToday"_qs,
    u"PeakDemandToday"_qs, u"ForecastPeakTomorrow"_qs,
};
const QStringList kDateFields{u"ActualDemandTime"_qs, u"AvailableResourcesTime"_qs,
                              u"NoticeStart"_qs,      u"NoticeEnd"_qs,
                              u"LevelStart"_qs,       u"LevelEnd"_qs,
                              u"Produced"_qs};

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

QString Megawatts(double value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qint64(value)) + u" MW"_qs;
}

quint16 RefusingPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

QString Page(const GridSim &sim, QStringView path)
{
    return QString::fromLatin1(sim.resource(path)->body);
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
    QStringList m_requests;

    std::unique_ptr<GridSim> startSim()
    {
        auto sim = std::make_unique<GridSim>();
        if (!sim->listen(QHostAddress::LocalHost, 0))
            return nullptr;
        sim->setClock([] { return kAfternoon; });
        return sim;
    }

    QString server() const { return m_sim->baseUrl().toString(); }

    ToolRun run(const QStringList &arguments, const QString &timeZone = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LC_ALL"_qs, u"en_US.UTF-8"_qs);
        env.insert(u"XDG_CONFIG_HOME"_qs, m_config->path());
        env.insert(u"XDG_CONFIG_DIRS"_qs, m_config->filePath(u"system"_qs));
        if (!timeZone.isEmpty())
            env.insert(u"TZ"_qs, timeZone);
        QProcess tool;
        tool.setProcessEnvironment(env);
        QSignalSpy finished(&tool, &QProcess::finished);
        tool.start(QStringLiteral(VOLTWISE_STATUS_TOOL), arguments);
        ToolRun result;
        if (!tool.waitForStarted(10000))
            return result;
        if (finished.isEmpty() && !finished.wait(60000)) {
            tool.kill();
            tool.waitForFinished();
            return result;
        }
        if (tool.exitStatus() == QProcess::NormalExit)
            result.exitCode = tool.exitCode();
        result.out = tool.readAllStandardOutput();
        result.err = tool.readAllStandardError();
        return result;
    }

    // Callers check QTest::currentTestFailed() afterwards.
    void runJson(const QStringList &arguments, int expectedExit, QJsonObject *json,
                 const QString &timeZone = QString())
    {
        const ToolRun result = run(QStringList{u"--json"_qs} + arguments, timeZone);
        QCOMPARE(result.exitCode, expectedExit);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
        QVERIFY2(document.isObject(), qPrintable(error.errorString()));
        *json = document.object();
    }

    bool writeSettings(const QUrl &main, const QUrl &content)
    {
        QDir().mkpath(m_config->filePath(u"Ternwood"_qs));
        QFile file(m_config->filePath(u"Ternwood/Voltwise.conf"_qs));
        const QByteArray text = "[Servers]\nGridMain=" + main.toEncoded() +
                                "\nGridContent=" + content.toEncoded() + "\n";
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    }

    static void checkShape(const QJsonObject &json)
    {
        const QStringList keys{u"gridStatus"_qs,    u"published"_qs,       u"trayTip"_qs,
                               u"statusText"_qs,    u"iconIndex"_qs,       u"levelScale"_qs,
                               u"forecastScale"_qs, u"conditions"_qs,      u"loadReductions"_qs,
                               u"noticesText"_qs,   u"statusTableText"_qs, u"forecastsText"_qs,
                               u"outlook"_qs,       u"noticeHeader"_qs};
        QStringList sortedKeys = keys;
        sortedKeys.sort();
        QCOMPARE(json.keys(), sortedKeys);

        const QJsonObject status = json[u"gridStatus"].toObject();
        QStringList fields = kNumberFields + kDateFields;
        fields.sort();
        QCOMPARE(status.keys(), fields);
        for (const QString &name : kNumberFields)
            QVERIFY2(status[name].isDouble(), qPrintable(name));
        static const QRegularExpression dateForm(u"^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"_qs);
        for (const QString &name : kDateFields) {
            const QJsonValue value = status[name];
            QVERIFY2(value.isNull() || dateForm.match(value.toString()).hasMatch(),
                     qPrintable(name + u": "_qs + value.toVariant().toString()));
        }

        const QJsonObject published = json[u"published"].toObject();
        QCOMPARE(published.keys(),
                 (QStringList{u"CurrentLoad"_qs, u"SystemCondition"_qs, u"UpdateTime"_qs}));
        for (const QJsonValue value : published)
            QVERIFY(value.isString());
        for (const char *key :
             {"trayTip", "statusText", "noticesText", "statusTableText", "forecastsText"})
            QVERIFY2(json[QLatin1String(key)].isString(), key);
        QVERIFY(json[u"noticeHeader"].isString() || json[u"noticeHeader"].isNull());
        QVERIFY(json[u"iconIndex"].isDouble());
        QVERIFY(json[u"iconIndex"].toInt() >= 1 && json[u"iconIndex"].toInt() <= 8);

        const auto checkArray = [](const QJsonValue &value, qsizetype size, QJsonValue::Type type) {
            const QJsonArray array = value.toArray();
            if (!value.isArray() || array.size() != size)
                return false;
            return std::all_of(array.begin(), array.end(),
                               [type](const QJsonValue &item) { return item.type() == type; });
        };
        QVERIFY(checkArray(json[u"levelScale"], 6, QJsonValue::Bool));
        QVERIFY(checkArray(json[u"forecastScale"], 3, QJsonValue::Bool));
        QVERIFY(checkArray(json[u"conditions"], 7, QJsonValue::String));
        QVERIFY(checkArray(json[u"loadReductions"], 8, QJsonValue::String));
        QVERIFY(checkArray(json[u"outlook"], 24, QJsonValue::Array));
        for (const QJsonValue row : json[u"outlook"].toArray()) {
            QCOMPARE(row.toArray().size(), 4);
            for (const QJsonValue value : row.toArray())
                QVERIFY(value.isDouble() || value.isNull());
        }
    }

private Q_SLOTS:
    void init()
    {
        m_config = std::make_unique<QTemporaryDir>();
        QVERIFY(m_config->isValid());
        m_sim = startSim();
        QVERIFY(m_sim);
        m_requests.clear();
        connect(m_sim.get(), &GridSim::requestReceived, this,
                [this](const QString &path) { m_requests << path; });
    }

    void cleanup()
    {
        m_sim.reset();
        m_config.reset();
    }

    void jsonOutput_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QDateTime>("clock");
        QTest::addColumn<QString>("timeZone");
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<QString>("condition");

        QTest::newRow("normal") << 0 << kAfternoon << QString() << u"System Normal"_qs
                                << u"System Normal"_qs;
        QTest::newRow("alert") << 1 << kAfternoon << QString() << u"Alert Notice"_qs
                               << u"Alert Notice"_qs;
        QTest::newRow("load interruptions")
            << 6 << kAfternoon << QString() << u"Rolling Blackouts"_qs
            << u"Emergency Load Reductions"_qs;
        // The operator's 02:30 does not exist on that night in the tool's zone;
        // the dates still read as the operator wrote them.
        QTest::newRow("time in a daylight-saving gap")
            << 1 << QDateTime(QDate(2024, 3, 10), QTime(2, 32, 10), Qt::UTC)
            << u"America/Los_Angeles"_qs << u"Alert Notice"_qs << u"Alert Notice"_qs;
    }

    void jsonOutput()
    {
        QFETCH(int, step);
        QFETCH(QDateTime, clock);
        QFETCH(QString, timeZone);
        QFETCH(QString, statusText);
        QFETCH(QString, condition);
        m_sim->setClock([clock] { return clock; });
        m_sim->setScenario(ScenarioKind::Walk);
        for (int i = 0; i < step; ++i)
            m_sim->advance();
        const GridSnapshot s = m_sim->snapshot();

        QJsonObject json;
        runJson({u"--server"_qs, server()}, 0, &json, timeZone);
        if (QTest::currentTestFailed())
            return;
        checkShape(json);
        if (QTest::currentTestFailed())
            return;

        const QJsonObject status = json[u"gridStatus"].toObject();
        QCOMPARE(status[u"Level"], QJsonValue(int(s.level)));
        QCOMPARE(status[u"ActualDemand"], QJsonValue(s.actualDemand));
        QCOMPARE(status[u"AvailableResources"], QJsonValue(s.availableResources));
        QCOMPARE(status[u"PeakDemandToday"], QJsonValue(s.peakDemandToday));
        QCOMPARE(status[u"Interruption1"], QJsonValue(s.interruptions.pge));
        QCOMPARE(status[u"Interruption2"], QJsonValue(s.interruptions.sce));
        QCOMPARE(status[u"Interruption3"], QJsonValue(s.interruptions.sdge));
        QCOMPARE(status[u"ActualDemandTime"], WallClock(s.measured));
        QCOMPARE(status[u"AvailableResourcesTime"], WallClock(s.measured));
        QCOMPARE(status[u"Produced"], WallClock(s.produced));
        const auto &notice = s.forecastNotice;
        QCOMPARE(status[u"NoticeStart"], notice ? WallClock(notice->start) : QJsonValue());
        QCOMPARE(status[u"NoticeEnd"], notice ? WallClock(notice->end) : QJsonValue());
        QCOMPARE(status[u"NoticeValue"],
                 QJsonValue(notice && notice->megawatts ? *notice->megawatts : 0.0));
        const bool timed = s.level != LevelNormal;
        QCOMPARE(status[u"LevelStart"], timed ? WallClock(s.levelStart) : QJsonValue());
        QCOMPARE(status[u"LevelEnd"], timed ? WallClock(s.levelEnd) : QJsonValue());

        QCOMPARE(json[u"statusText"].toString(), statusText);
        QCOMPARE(json[u"published"][u"SystemCondition"].toString(), condition);
        QCOMPARE(json[u"published"][u"CurrentLoad"].toString(), QString::number(s.actualDemand));
        QCOMPARE(json[u"trayTip"].toString(), condition + u": "_qs + Megawatts(s.actualDemand));
        QCOMPARE(json[u"iconIndex"].toInt(), int(s.level) + 1);
        const QJsonArray scale = json[u"levelScale"].toArray();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(scale[i].toBool(), i == std::min(int(s.level), 6) - 1);
        QCOMPARE(json[u"conditions"][2].toString(), u' ' + Megawatts(s.actualDemand));

        const NoticesTexts notices = ReadNoticesPage(Page(*m_sim, kStatusPagePath), {});
        QCOMPARE(json[u"noticesText"].toString(), notices.NoticesText);
        QCOMPARE(json[u"statusTableText"].toString(), notices.StatusTableText);
        QCOMPARE(json[u"forecastsText"].toString(),
                 ReadForecastPage(Page(*m_sim, kForecastPagePath), {}));
        QCOMPARE(json[u"noticeHeader"].toString(),
                 statusText + u": "_qs + Megawatts(s.actualDemand));

        const QJsonArray outlook = json[u"outlook"].toArray();
        int holes = 0;
        for (int hour = 0; hour < 24; ++hour) {
            const HourFigures &figures = s.hours[std::size_t(hour)];
            const QJsonArray row = outlook[hour].toArray();
            QCOMPARE(row[0], QJsonValue(figures.dayAhead));
            QCOMPARE(row[1], QJsonValue(figures.hourAhead));
            QCOMPARE(row[2], figures.actual ? QJsonValue(*figures.actual) : QJsonValue());
            QCOMPARE(row[3], QJsonValue(figures.resources));
            holes += figures.actual ? 0 : 1;
        }
        QVERIFY(holes > 0 && holes < 24);
    }

    void noticeHeaderAcrossRefreshes_data()
    {
        QTest::addColumn<bool>("walk");
        QTest::addColumn<int>("advanceEvery");
        QTest::addColumn<int>("refreshes");
        QTest::addColumn<QString>("header"); // null: none raised

        QTest::newRow("one refresh") << false << 0 << 1 << u"System Normal: "_qs;
        QTest::newRow("two refreshes, nothing changed") << false << 0 << 2 << QString();
        QTest::newRow("walk stepping every refresh") << true << 1 << 2 << u"Alert Notice: "_qs;
        QTest::newRow("walk stepping every second refresh") << true << 2 << 2 << QString();
        QTest::newRow("walk stepping before the third refresh")
            << true << 2 << 3 << u"Alert Notice: "_qs;
    }

    void noticeHeaderAcrossRefreshes()
    {
        QFETCH(bool, walk);
        QFETCH(int, advanceEvery);
        QFETCH(int, refreshes);
        QFETCH(QString, header);
        m_sim->setScenario(walk ? ScenarioKind::Walk : ScenarioKind::Normal);
        m_sim->setAdvanceEveryRefreshes(advanceEvery);

        QJsonObject json;
        runJson({u"--server"_qs, server(), u"--refreshes"_qs, QString::number(refreshes)}, 0,
                &json);
        if (QTest::currentTestFailed())
            return;

        QStringList order;
        for (int i = 0; i < refreshes; ++i) {
            for (const QStringView path : kResources)
                order << path.toString();
        }
        QCOMPARE(m_requests, order);
        QCOMPARE(json[u"gridStatus"][u"Level"].toInt(), int(m_sim->level()));
        if (header.isNull()) {
            QVERIFY(json[u"noticeHeader"].isNull());
        } else {
            QCOMPARE(json[u"noticeHeader"].toString(),
                     header + Megawatts(m_sim->snapshot().actualDemand));
        }
    }

    void exitStatus_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("noticeRaised");

        const QString csv = kStatusCsvPath.toString();
        QTest::newRow("status file 200") << csv << u"none"_qs << 0 << true;
        QTest::newRow("status file 200, empty") << csv << u"empty"_qs << 0 << false;
        QTest::newRow("status file 404") << csv << u"status:404"_qs << 1 << false;
        QTest::newRow("status file 500") << csv << u"status:500"_qs << 1 << false;
        QTest::newRow("status page 404")
            << kStatusPagePath.toString() << u"status:404"_qs << 0 << false;
        QTest::newRow("server refused") << QString() << QString() << 1 << false;
    }

    void exitStatus()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(bool, noticeRaised);
        QString url = server();
        if (path.isEmpty()) {
            const quint16 port = RefusingPort();
            QVERIFY(port != 0);
            url = u"http://127.0.0.1:"_qs + QString::number(port);
        } else {
            m_sim->setFault(path, *ParseFault(fault));
        }

        const ToolRun result = run({u"--json"_qs, u"--server"_qs, url});

        QCOMPARE(result.exitCode, exitCode);
        const QJsonDocument json = QJsonDocument::fromJson(result.out);
        QVERIFY(json.isObject());
        QCOMPARE(json[u"noticeHeader"].isString(), noticeRaised);
        if (exitCode == 0)
            QCOMPARE(result.err, QByteArray());
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments"); // SERVER stands for the simulator

        QTest::newRow("unknown option") << QStringList{u"--bogus"_qs};
        QTest::newRow("positional argument") << QStringList{u"SERVER"_qs};
        QTest::newRow("refreshes 0") << QStringList{u"--refreshes"_qs, u"0"_qs};
        QTest::newRow("refreshes x") << QStringList{u"--refreshes"_qs, u"x"_qs};
        QTest::newRow("refreshes -2") << QStringList{u"--refreshes=-2"_qs};
        QTest::newRow("refreshes 1.5") << QStringList{u"--refreshes"_qs, u"1.5"_qs};
        QTest::newRow("refreshes missing") << QStringList{u"--refreshes"_qs};
        QTest::newRow("server missing") << QStringList{u"--json"_qs, u"--server"_qs};
        QTest::newRow("server not a URL") << QStringList{u"--server"_qs, u"not a url"_qs};
        QTest::newRow("server without scheme") << QStringList{u"--server"_qs, u"127.0.0.1"_qs};
        QTest::newRow("server ftp") << QStringList{u"--server"_qs, u"ftp://127.0.0.1"_qs};
        QTest::newRow("server without host") << QStringList{u"--server"_qs, u"http://"_qs};
        QTest::newRow("server with a path") << QStringList{u"--server"_qs, u"SERVER/outlook"_qs};
        QTest::newRow("server with a query") << QStringList{u"--server"_qs, u"SERVER/?a=1"_qs};
        QTest::newRow("server with a fragment") << QStringList{u"--server"_qs, u"SERVER#top"_qs};
        QTest::newRow("server with a user")
            << QStringList{u"--server"_qs, u"http://user@127.0.0.1:PORT"_qs};
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
        const std::unique_ptr<GridSim> content = startSim();
        QVERIFY(content);
        QVERIFY(writeSettings(m_sim->baseUrl(), content->baseUrl()));
        const std::unique_ptr<GridSim> other = startSim();
        QVERIFY(other);
        const QStringList arguments =
            serverOption ? QStringList{u"--server"_qs, other->baseUrl().toString()} : QStringList{};

        const ToolRun result = run(arguments);

        QCOMPARE(result.exitCode, 0);
        for (const QStringView path : kResources) {
            const bool onMain = path == kStatusCsvPath || path == kForecastPagePath;
            const QByteArray name = path.toLatin1();
            QVERIFY2(other->requestCount(path) == (serverOption ? 1 : 0), name);
            QVERIFY2(m_sim->requestCount(path) == (!serverOption && onMain ? 1 : 0), name);
            QVERIFY2(content->requestCount(path) == (!serverOption && !onMain ? 1 : 0), name);
        }
    }

    void humanReadableSummary()
    {
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->advance();
        const GridSnapshot s = m_sim->snapshot();
        QVERIFY(!s.activeNotices.isEmpty());

        const ToolRun result = run({u"--server"_qs, server()});

        QCOMPARE(result.exitCode, 0);
        const QString text = QString::fromUtf8(result.out);
        QVERIFY2(text.startsWith(u"Alert Notice\n"), qPrintable(text));
        QVERIFY(text.contains(u"Current System Load: "_qs + Megawatts(s.actualDemand) + u'\n'));
        QVERIFY(text.contains(u"\nCurrent Load Reductions: None Required\n"));
        QString notices = ReadNoticesPage(Page(*m_sim, kStatusPagePath), {}).NoticesText;
        QString forecasts = ReadForecastPage(Page(*m_sim, kForecastPagePath), {});
        notices.replace(u"\r\n"_qs, u"\n"_qs);
        forecasts.replace(u"\r\n"_qs, u"\n"_qs);
        QVERIFY(notices.contains(s.activeNotices.first().left(30)));
        QVERIFY(text.contains(notices));
        QVERIFY(text.contains(forecasts));
        QVERIFY(!text.contains(u'\r'));
    }
};

QTEST_GUILESS_MAIN(TestStatusTool)
#include "test_status_tool.moc"

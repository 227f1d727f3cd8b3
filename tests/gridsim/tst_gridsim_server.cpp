#include "gridsim/grid_sim.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QUrlQuery>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

const QDateTime kAfternoon(QDate(2001, 8, 13), QTime(14, 25, 3));

struct Response
{
    bool finished = false;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QByteArray contentLength;
    QByteArray transferEncoding;

    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

} // namespace

class TestGridSimServer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    QNetworkAccessManager m_nam;

    Response get(const QUrl &url, bool head = false)
    {
        QNetworkRequest request(url);
        request.setTransferTimeout(10000);
        std::unique_ptr<QNetworkReply> reply(head ? m_nam.head(request) : m_nam.get(request));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        Response response;
        response.finished = reply->isFinished() || finished.wait(15000);
        response.error = reply->error();
        response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        response.body = reply->readAll();
        response.contentType = reply->rawHeader("Content-Type");
        response.contentLength = reply->rawHeader("Content-Length");
        response.transferEncoding = reply->rawHeader("Transfer-Encoding");
        return response;
    }

    Response get(QStringView path) { return get(m_sim->url(path)); }

    Response control(QStringView path, const QUrlQuery &query = {})
    {
        QUrl url = m_sim->url(path);
        url.setQuery(query);
        return get(url);
    }

    int levelInCsv()
    {
        const QByteArray csv = get(kStatusCsvPath).body;
        for (int level = LevelLoadInterruptions; level >= LevelNormal; --level) {
            if (csv.contains("SYSTEM STATUS," + LevelStatusText(ConditionLevel(level)).toLatin1() +
                             ','))
                return level;
        }
        return LevelUnknown;
    }

private Q_SLOTS:
    void init()
    {
        m_sim = std::make_unique<GridSim>();
        m_sim->setClock([] { return kAfternoon; });
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        QVERIFY(m_sim->port() != 0);
        QCOMPARE(m_sim->baseUrl(), QUrl(u"http://127.0.0.1:%1"_qs.arg(m_sim->port())));
    }

    void cleanup() { m_sim.reset(); }

    void everyResourceIsServed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("marker");

        const QByteArray html = "text/html; charset=iso-8859-1";
        QTest::newRow("status file") << kStatusCsvPath.toString() << QByteArray("text/csv")
                                     << QByteArray("\r\nSYSTEM STATUS,NORMAL,");
        QTest::newRow("status page")
            << kStatusPagePath.toString() << html << QByteArray("ISO System Status");
        QTest::newRow("forecast page")
            << kForecastPagePath.toString() << html << QByteArray("Current Active Forecast(s)");
        QTest::newRow("outlook page")
            << kOutlookPagePath.toString() << html << QByteArray("Available Resources</td>");
        QTest::newRow("load picture")
            << kLoadPicturePath.toString() << QByteArray("image/png") << QByteArray("\x89PNG\r\n");
    }

    void everyResourceIsServed()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, marker);

        const Response response = get(path);

        QVERIFY(response.finished);
        QCOMPARE(response.status, 200);
        QCOMPARE(response.contentType, contentType);
        QVERIFY(response.body.contains(marker));
        QCOMPARE(response.body, m_sim->resource(path)->body);
        QCOMPARE(response.contentLength.toLongLong(), response.body.size());
        QCOMPARE(m_sim->requestCount(path), 1);
    }

    void unknownPathIsNotFound()
    {
        const Response response = get(u"/outlook/SP/missing.html");
        QCOMPARE(response.status, 404);
        QVERIFY(response.body.contains("<html><head><title>404 Not Found</title>"));
        QCOMPARE(m_sim->requestCount(u"/outlook/SP/missing.html"_qs), 1);
    }

    void headRequestHasNoBody()
    {
        const Response head = get(m_sim->url(kStatusPagePath), true);
        QCOMPARE(head.status, 200);
        QVERIFY(head.body.isEmpty());
        QCOMPARE(head.contentLength.toLongLong(), m_sim->resource(kStatusPagePath)->body.size());
    }

    void walkByRefreshes_data()
    {
        QTest::addColumn<int>("every");
        QTest::newRow("every refresh") << 1;
        QTest::newRow("every second refresh") << 2;
        QTest::newRow("never") << 0;
    }

    void walkByRefreshes()
    {
        QFETCH(int, every);
        m_sim->setScenario(ScenarioKind::Walk);
        m_sim->setAdvanceEveryRefreshes(every);

        for (int refresh = 1; refresh <= 16; ++refresh) {
            const int step = every == 0 ? 0 : (refresh - 1) / every;
            const ConditionLevel expected = LevelAt(ScenarioKind::Walk, step);
            QCOMPARE(levelInCsv(), int(expected));
            // The rest of the refresh sees the same step.
            const Response page = get(kStatusPagePath);
            QCOMPARE(page.body, m_sim->resource(kStatusPagePath)->body);
            QCOMPARE(m_sim->step(), step);
        }
        QCOMPARE(m_sim->refreshCount(), 16);
        QCOMPARE(m_sim->requestCount(kStatusCsvPath), 16);
    }

    void walkByControlPath()
    {
        QCOMPARE(control(kScenarioPath, QUrlQuery(u"name=walk"_qs)).status, 200);
        QList<int> levels;
        for (int i = 0; i < 7; ++i) {
            const Response response = control(kAdvancePath);
            QCOMPARE(response.contentType, QByteArray("application/json"));
            levels << response.json().value(u"level"_qs).toInt();
            QCOMPARE(levelInCsv(), levels.last());
        }
        QCOMPARE(levels, (QList<int>{LevelAlert, LevelWarning, LevelStage1, LevelStage2,
                                     LevelStage3, LevelLoadInterruptions, LevelNormal}));

        const QJsonObject state = control(kStatePath).json();
        QCOMPARE(state.value(u"step"_qs).toInt(), 7);
        QCOMPARE(state.value(u"scenario"_qs).toString(), u"walk"_qs);
        QCOMPARE(state.value(u"status"_qs).toString(), u"NORMAL"_qs);

        QCOMPARE(control(kResetPath).json().value(u"step"_qs).toInt(), 0);
        QCOMPARE(control(kScenarioPath, QUrlQuery(u"name=sideways"_qs)).status, 400);
        QCOMPARE(m_sim->scenario(), ScenarioKind::Walk);
        QCOMPARE(control(u"/_sim/nothing").status, 404);
    }

    void walkByTime()
    {
        m_sim->setScenario(ScenarioKind::Walk);
        QSignalSpy advanced(m_sim.get(), &GridSim::advanced);
        m_sim->setAdvanceInterval(50ms);
        QTRY_VERIFY(m_sim->step() >= 3);
        m_sim->setAdvanceInterval(0ms);
        const int stopped = m_sim->step();
        QTest::qWait(200);
        QCOMPARE(m_sim->step(), stopped);
        QCOMPARE(advanced.size(), stopped);
    }

    void faults_data()
    {
        QTest::addColumn<QString>("faultText");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("bodySize"); // -1: the resource's own
        QTest::addColumn<QByteArray>("bodyText");
        QTest::addColumn<bool>("chunked");

        QTest::newRow("404 page") << u"status:404"_qs << 404 << qint64(-2)
                                  << QByteArray("<title>404 Not Found</title>") << false;
        QTest::newRow("500 page") << u"status:500"_qs << 500 << qint64(-2)
                                  << QByteArray("<title>500 Internal Server Error</title>")
                                  << false;
        QTest::newRow("500 empty")
            << u"status:500,empty"_qs << 500 << qint64(0) << QByteArray() << false;
        QTest::newRow("empty") << u"empty"_qs << 200 << qint64(0) << QByteArray() << false;
        QTest::newRow("delay") << u"delay:300"_qs << 200 << qint64(-1) << QByteArray() << false;
        QTest::newRow("chunked") << u"chunked"_qs << 200 << qint64(-1) << QByteArray() << true;
        QTest::newRow("oversize") << u"oversize"_qs << 200 << Fault::kDefaultOversize
                                  << QByteArray() << false;
        QTest::newRow("oversize streamed")
            << u"oversize,chunked"_qs << 200 << Fault::kDefaultOversize << QByteArray() << true;
    }

    void faults()
    {
        QFETCH(QString, faultText);
        QFETCH(int, status);
        QFETCH(qint64, bodySize);
        QFETCH(QByteArray, bodyText);
        QFETCH(bool, chunked);
        const Fault fault = *ParseFault(faultText);
        m_sim->setFault(kForecastPagePath, fault);
        QElapsedTimer clock;
        clock.start();

        const Response response = get(kForecastPagePath);

        QVERIFY(response.finished);
        QCOMPARE(response.error == QNetworkReply::NoError, status == 200);
        QCOMPARE(response.status, status);
        if (bodySize == -1)
            QCOMPARE(response.body, m_sim->resource(kForecastPagePath)->body);
        else if (bodySize >= 0)
            QCOMPARE(response.body.size(), bodySize);
        QVERIFY(response.body.contains(bodyText));
        QCOMPARE(response.transferEncoding == "chunked", chunked);
        QCOMPARE(response.contentLength.isEmpty(), chunked);
        QVERIFY(clock.elapsed() >= fault.delay.count());
        // Other paths are not affected.
        QCOMPARE(get(kStatusPagePath).status, 200);

        m_sim->clearFaults();
        QCOMPARE(get(kForecastPagePath).body, m_sim->resource(kForecastPagePath)->body);
    }

    void stalledResponseKeepsTheConnectionOpen()
    {
        m_sim->setFault(kOutlookPagePath, Fault{.stall = true});
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_sim->port());
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /outlook/SP/outlook.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QByteArray received;
        QTRY_VERIFY((received += socket.readAll()).contains("\r\n\r\n"));
        QTest::qWait(300);
        received += socket.readAll();

        const qsizetype headEnd = received.indexOf("\r\n\r\n") + 4;
        const QByteArray head = received.left(headEnd).toLower();
        const qsizetype at = head.indexOf("content-length: ");
        QVERIFY(at >= 0);
        const qint64 announced = head.mid(at + 16, head.indexOf("\r\n", at) - at - 16).toLongLong();
        const qint64 sent = received.size() - headEnd;
        QVERIFY2(announced > sent, qPrintable(u"%1 > %2"_qs.arg(announced).arg(sent)));
        QVERIFY(sent > 0);
        QCOMPARE(socket.state(), QAbstractSocket::ConnectedState);

        // The server goes on serving others meanwhile.
        QCOMPARE(get(kStatusCsvPath).status, 200);
        QCOMPARE(socket.state(), QAbstractSocket::ConnectedState);
    }

    void faultsByControlPath()
    {
        QUrlQuery set;
        set.addQueryItem(u"path"_qs, kForecastPagePath.toString());
        set.addQueryItem(u"set"_qs, u"status:503"_qs);
        const Response response = control(kFaultPath, set);
        QCOMPARE(response.status, 200);
        QCOMPARE(response.json()
                     .value(u"faults"_qs)
                     .toObject()
                     .value(kForecastPagePath.toString())
                     .toString(),
                 u"status:503"_qs);
        QCOMPARE(get(kForecastPagePath).status, 503);

        QUrlQuery bad;
        bad.addQueryItem(u"path"_qs, kForecastPagePath.toString());
        bad.addQueryItem(u"set"_qs, u"sometimes"_qs);
        QCOMPARE(control(kFaultPath, bad).status, 400);
        QCOMPARE(m_sim->fault(kForecastPagePath), Fault{.status = 503});

        QCOMPARE(control(kClearFaultsPath).status, 200);
        QCOMPARE(get(kForecastPagePath).status, 200);
    }
};

QTEST_MAIN(TestGridSimServer)
#include "tst_gridsim_server.moc"

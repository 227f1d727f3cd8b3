#include "gridsim/grid_sim.h"
#include "gridsim/load_picture.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"
#include "refresh/status_csv_reader.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QUrlQuery>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<Fault>)

namespace {
const QDateTime kAfternoon(QDate(2001, 8, 13), QTime(14, 25, 3));

QDateTime today(int hour, int minute)
{
    return QDateTime(kAfternoon.date(), QTime(hour, minute));
}

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

// The simulator's resources as the program's own readers see them, and as
// its server hands them out.
class TestGridSimServer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    QNetworkAccessManager m_nam;

    Response get(QStringView path, const QUrlQuery &query = {}, bool head = false)
    {
        QUrl url = m_sim->url(path);
        url.setQuery(query);
        QNetworkRequest request(url);
        request.setTransferTimeout(10000);
        std::unique_ptr<QNetworkReply> reply(head ? m_nam.head(request) : m_nam.get(request));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        const bool finishedInTime = reply->isFinished() || finished.wait(15000);
        return {finishedInTime,
                reply->error(),
                reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->readAll(),
                reply->rawHeader("Content-Type"),
                reply->rawHeader("Content-Length"),
                reply->rawHeader("Transfer-Encoding")};
    }

    int levelInCsv()
    {
        return ReadStatusCsv(QString::fromLatin1(get(kStatusCsvPath).body), {}).Level;
    }

    QString text(QStringView path) const
    {
        return QString::fromLatin1(m_sim->resource(path)->body);
    }

    QString statusTable() const
    {
        return ReadNoticesPage(text(kStatusPagePath), {}).StatusTableText;
    }

private Q_SLOTS:
    void init()
    {
        m_sim = std::make_unique<GridSim>();
        m_sim->setClock([] { return kAfternoon; });
        m_sim->setScenario(ScenarioKind::Walk);
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        QCOMPARE(m_sim->baseUrl(), QUrl(u"http://127.0.0.1:%1"_qs.arg(m_sim->port())));
    }

    void walk_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("notice"); // the forecast notice row; empty: none
        const int levels[] = {1, 2, 3, 4, 5, 6, 7, 1};
        const char *notices[] = {"", "48", "48", "24", "24", "1", "1", ""};
        for (int step = 0; step < 8; ++step)
            QTest::addRow("step %d", step)
                << step << levels[step]
                << (*notices[step]
                        ? QString::fromLatin1(notices[step]) + u" HOUR FORECAST NOTICE"_qs
                        : QString());
    }

    void walk()
    {
        QFETCH(int, step);
        QFETCH(int, level);
        QFETCH(QString, notice);
        for (int i = 0; i < step; ++i)
            m_sim->advance();

        const QString csv = text(kStatusCsvPath);
        QVERIFY(csv.startsWith(u"PRODUCED,Mon Aug 13 14:25:03 "_qs) && csv.endsWith(u"\r\n"_qs));
        QVERIFY(!csv.contains(QRegularExpression(u"[^\r]\n"_qs)));
        const GridStatus s = ReadStatusCsv(csv, {});
        QCOMPARE(s.Level, level);
        QCOMPARE(s.Produced.toDateTime(), kAfternoon);
        QCOMPARE(s.ActualDemandTime.toDateTime(), today(14, 25));
        QCOMPARE(s.AvailableResourcesTime, s.ActualDemandTime);
        QVERIFY(s.ActualDemand > 30000 && s.ActualDemand < 50000);
        QCOMPARE(s.AvailableResources > s.ActualDemand, level != LevelLoadInterruptions);
        QVERIFY(s.PeakDemandToday >= s.ActualDemand);
        QVERIFY(s.ForecastPeakToday > 0 && s.ForecastPeakTomorrow > 0);
        if (level != LevelNormal)
            QVERIFY(s.LevelStart.toDateTime() == today(14, 0) &&
                    s.LevelEnd.days > s.LevelStart.days);
        QCOMPARE(csv.count(u"FORECAST NOTICE"_qs), notice.isEmpty() ? 0 : 1);
        QVERIFY(notice.isEmpty() || csv.contains(u"\r\n"_qs + notice + u','));
        QCOMPARE(s.NoticeEnd.days > s.NoticeStart.days && !s.NoticeStart.isZero(),
                 !notice.isEmpty());
        const double cut =
            s.Interruption1 + s.Interruption2 + s.Interruption3 + s.Interruption4 + s.Interruption5;
        QCOMPARE(cut > 0, level == LevelLoadInterruptions);
        QCOMPARE(s.NoticeValue > 0, notice.startsWith(u"1 "_qs));
        if (cut > 0)
            QCOMPARE(s.NoticeValue, cut);

        const NoticesTexts page = ReadNoticesPage(text(kStatusPagePath), {});
        QVERIFY(page.NoticesText.startsWith(u"Current Active Notice(s)"_qs));
        QVERIFY(!page.StatusTableText.isEmpty());
        QCOMPARE(page.NoticesText.contains(u"No active notices"_qs), level == LevelNormal);
        if (level == LevelLoadInterruptions)
            QVERIFY(page.NoticesText.contains(u"PG&E"_qs));
        const QString forecast = ReadForecastPage(text(kForecastPagePath), {});
        QCOMPARE(forecast.contains(u"No forecasts"_qs), notice.isEmpty());
        QVERIFY(notice.isEmpty() || forecast.contains(u"\r\n\r\n"_qs + notice));
    }

    void statusTableChangesWithTheLevelOnly()
    {
        QStringList tables;
        for (int step = 0; step < 7; ++step, m_sim->advance()) {
            QVERIFY(!tables.contains(statusTable()));
            tables << statusTable();
            m_sim->setClock([] { return kAfternoon.addSecs(600); }); // the figures move
            QCOMPARE(statusTable(), tables.last());
            m_sim->setClock([] { return kAfternoon; });
        }
        m_sim->setScenario(ScenarioKind::Normal);
        const QString normal = statusTable();
        const QString csv = text(kStatusCsvPath);
        m_sim->advance();
        QCOMPARE(statusTable(), normal);
        QVERIFY2(text(kStatusCsvPath) != csv, "the normal scenario's figures drift");
    }

    void outlookPage_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("hoursDone");
        QTest::newRow("after midnight") << QTime(0, 30) << 0;
        QTest::newRow("afternoon") << QTime(14, 25, 3) << 14;
        QTest::newRow("last hour") << QTime(23, 59) << 23;
    }

    // Actual demand has holes for the hours still to come.
    void outlookPage()
    {
        QFETCH(QTime, time);
        QFETCH(int, hoursDone);
        m_sim->setClock([time] { return QDateTime(kAfternoon.date(), time); });
        OutlookValues unread;
        for (int hour = 1; hour <= OutlookHourCount; ++hour)
            for (int series = 1; series <= OutlookSeriesCount; ++series)
                unread.setValue(hour, series, -1);
        const OutlookValues v = ReadOutlookPage(text(kOutlookPagePath), unread);
        for (int hour = 1; hour <= OutlookHourCount; ++hour) {
            for (int series = 1; series <= OutlookSeriesCount; ++series) {
                const double mw = v.value(hour, series);
                const bool hole = series == 3 && hour > hoursDone;
                QVERIFY2(hole ? mw == HoleValue : mw >= 10000 && mw < 100000,
                         qPrintable(u"hour %1 series %2: %3"_qs.arg(hour).arg(series).arg(mw)));
            }
            QVERIFY(v.value(hour, 1) >= 20000 && v.value(hour, 1) <= 50000);
            QVERIFY(v.value(hour, 4) > v.value(hour, 1));
        }
    }

    void loadPicture()
    {
        QImage image;
        QVERIFY(image.loadFromData(m_sim->resource(kLoadPicturePath)->body));
        QCOMPARE(image.size(), QSize(kLoadPictureWidth, kLoadPictureHeight));
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                coloured += image.pixelColor(x, y).saturation() > 100;
        QVERIFY2(coloured > 300, "the chart has its curves");
        QVERIFY(!m_sim->resource(u"/outlook/SP/other.html").has_value());
    }

    void resources_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("contentType");
        const QByteArray html = "text/html; charset=iso-8859-1";
        for (const auto &[path, type] : {std::pair{kStatusCsvPath, QByteArray("text/csv")},
                                         {kStatusPagePath, html},
                                         {kForecastPagePath, html},
                                         {kOutlookPagePath, html},
                                         {kLoadPicturePath, QByteArray("image/png")},
                                         {u"/outlook/SP/missing.html", html}})
            QTest::newRow(qPrintable(path.toString())) << path.toString() << type;
    }

    // Unknown paths get the server's 404 page.
    void resources()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, contentType);
        const auto resource = m_sim->resource(path);
        const Response response = get(path);
        QVERIFY(response.finished);
        QCOMPARE(response.status, resource ? 200 : 404);
        QCOMPARE(response.contentType, contentType);
        if (resource)
            QCOMPARE(response.body, resource->body);
        else
            QVERIFY(response.body.contains("<html><head><title>404 Not Found</title>"));
        QCOMPARE(response.contentLength.toLongLong(), response.body.size());
        QCOMPARE(m_sim->requestCount(path), 1);
        const Response head = get(path, {}, true);
        QCOMPARE(head.status, response.status);
        QVERIFY(head.body.isEmpty());
        QCOMPARE(head.contentLength, response.contentLength);
    }

    void walkByRefreshes_data()
    {
        QTest::addColumn<int>("every");
        QTest::newRow("every refresh") << 1;
        QTest::newRow("every second refresh") << 2;
        QTest::newRow("never") << 0;
    }

    // The rest of a refresh sees the step its status file showed.
    void walkByRefreshes()
    {
        QFETCH(int, every);
        m_sim->setAdvanceEveryRefreshes(every);
        for (int refresh = 1; refresh <= 16; ++refresh) {
            const int step = every == 0 ? 0 : (refresh - 1) / every;
            QCOMPARE(levelInCsv(), int(LevelAt(ScenarioKind::Walk, step)));
            QCOMPARE(get(kStatusPagePath).body, m_sim->resource(kStatusPagePath)->body);
            QCOMPARE(m_sim->step(), step);
        }
        QCOMPARE(m_sim->refreshCount(), 16);
        QCOMPARE(m_sim->requestCount(kStatusCsvPath), 16);
    }

    void walkByTime()
    {
        QSignalSpy advanced(m_sim.get(), &GridSim::advanced);
        m_sim->setAdvanceInterval(50ms);
        QTRY_VERIFY(m_sim->step() >= 3);
        m_sim->setAdvanceInterval(0ms);
        const int stopped = m_sim->step();
        QTest::qWait(200);
        QCOMPARE(m_sim->step(), stopped);
        QCOMPARE(advanced.size(), stopped);
    }

    void controlPaths()
    {
        QCOMPARE(get(kScenarioPath, QUrlQuery(u"name=normal"_qs)).status, 200);
        QCOMPARE(m_sim->scenario(), ScenarioKind::Normal);
        QCOMPARE(get(kScenarioPath, QUrlQuery(u"name=walk"_qs)).status, 200);
        for (int i = 0; i < 7; ++i) {
            const int level = get(kAdvancePath).json().value(u"level"_qs).toInt();
            QCOMPARE(levelInCsv(), level);
        }
        QCOMPARE(get(kAdvancePath).contentType, QByteArray("application/json"));
        const QJsonObject state = get(kStatePath).json();
        QCOMPARE(state.value(u"step"_qs).toInt(), 8);
        QCOMPARE(state.value(u"scenario"_qs).toString(), u"walk"_qs);
        QCOMPARE(state.value(u"status"_qs).toString(), u"ALERT"_qs);
        QCOMPARE(get(kResetPath).json().value(u"step"_qs).toInt(), 0);
        QCOMPARE(get(kScenarioPath, QUrlQuery(u"name=sideways"_qs)).status, 400);
        QCOMPARE(m_sim->scenario(), ScenarioKind::Walk);
        QCOMPARE(get(u"/_sim/nothing").status, 404);

        const QString forecast = kForecastPagePath.toString();
        const QJsonObject set =
            get(kFaultPath, QUrlQuery(u"path=%1&set=status:503"_qs.arg(forecast))).json();
        QCOMPARE(set.value(u"faults"_qs).toObject().value(forecast).toString(), u"status:503"_qs);
        QCOMPARE(get(kForecastPagePath).status, 503);
        QCOMPARE(get(kFaultPath, QUrlQuery(u"path=%1&set=sometimes"_qs.arg(forecast))).status, 400);
        QCOMPARE(m_sim->fault(kForecastPagePath), Fault{.status = 503});
        QCOMPARE(get(kClearFaultsPath).status, 200);
        QCOMPARE(get(kForecastPagePath).status, 200);
    }

    void faults_data()
    {
        QTest::addColumn<QString>("faultText");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("bodySize"); // -1: the resource's own, -2: an error page
        QTest::addColumn<bool>("chunked");
        const qint64 big = Fault::kDefaultOversize;
        QTest::newRow("404") << u"status:404"_qs << 404 << -2ll << false;
        QTest::newRow("500 empty") << u"status:500,empty"_qs << 500 << 0ll << false;
        QTest::newRow("delay") << u"delay:300"_qs << 200 << -1ll << false;
        QTest::newRow("chunked") << u"chunked"_qs << 200 << -1ll << true;
        QTest::newRow("oversize") << u"oversize"_qs << 200 << big << false;
        QTest::newRow("oversize streamed") << u"oversize,chunked"_qs << 200 << big << true;
    }

    void faults()
    {
        QFETCH(QString, faultText);
        QFETCH(int, status);
        QFETCH(qint64, bodySize);
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
        else if (bodySize == -2)
            QVERIFY(response.body.contains("<title>" + QByteArray::number(status) + ' '));
        else
            QCOMPARE(response.body.size(), bodySize);
        QCOMPARE(response.transferEncoding == "chunked", chunked);
        QCOMPARE(response.contentLength.isEmpty(), chunked);
        QVERIFY(clock.elapsed() >= fault.delay.count());
        QCOMPARE(get(kStatusPagePath).status, 200); // other paths are not affected
        m_sim->clearFaults();
        QCOMPARE(get(kForecastPagePath).body, m_sim->resource(kForecastPagePath)->body);
    }

    // The head announces more than is sent; the connection stays open while
    // the server goes on serving others.
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
        QVERIFY2(sent > 0 && announced > sent, qPrintable(u"%1 > %2"_qs.arg(announced).arg(sent)));
        QCOMPARE(get(kStatusCsvPath).status, 200);
        QCOMPARE(socket.state(), QAbstractSocket::ConnectedState);
    }

    void parseFault_data()
    {
        QTest::addColumn<QString>("faultText");
        QTest::addColumn<std::optional<Fault>>("expected");
        const auto add = [](const QString &text, std::optional<Fault> fault) {
            QTest::newRow(qPrintable(text)) << text << fault;
        };
        add({}, Fault{});
        add(u"none"_qs, Fault{});
        add(u"stall"_qs, Fault{.stall = true});
        add(u"cut,chunked"_qs, Fault{.cut = true, .chunked = true});
        add(u"oversize"_qs, Fault{.oversizeBytes = Fault::kDefaultOversize});
        add(u"oversize:2048,empty,trickle:50"_qs,
            Fault{.emptyBody = true, .oversizeBytes = 2048, .trickle = 50ms});
        add(u" delay:10 , status:500,chunked "_qs,
            Fault{.delay = 10ms, .status = 500, .chunked = true});
        for (const char16_t *bad : {u"trickle", u"status:99", u"status:abc", u"delay:-1",
                                    u"stall:1", u"oversize:0", u"slow", u"STALL"})
            add(QString::fromUtf16(bad), std::nullopt);
    }

    void parseFault()
    {
        QFETCH(QString, faultText);
        QFETCH(std::optional<Fault>, expected);
        QString error;
        const std::optional<Fault> fault = ParseFault(faultText, &error);
        QCOMPARE(fault, expected);
        QCOMPARE(error.isEmpty(), fault.has_value());
        if (fault)
            QCOMPARE(ParseFault(FaultText(*fault)), fault); // the canonical text reads back
    }

    void parsePathFault()
    {
        const auto parsed = ParsePathFault(u"/outlook/SP/outlook.html=delay:20,stall");
        QVERIFY(parsed);
        QCOMPARE(parsed->path, u"/outlook/SP/outlook.html"_qs);
        QCOMPARE(parsed->fault, (Fault{.delay = 20ms, .stall = true}));
        for (const char16_t *bad :
             {u"=stall", u"awe/forecast.html=stall", u"/awe/forecast.html", u"/a.html=bogus"})
            QVERIFY2(!ParsePathFault(QStringView(bad)), qPrintable(QString::fromUtf16(bad)));
    }
};

QTEST_MAIN(TestGridSimServer)
#include "tst_gridsim_server.moc"

#include "gridsim/grid_sim.h"
#include "pages/forecast_reader.h"
#include "pages/notices_reader.h"
#include "pages/outlook_reader.h"
#include "refresh/status_csv_reader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<Fault>)

namespace {
const QDateTime kAfternoon(QDate(2001, 8, 13), QTime(14, 25, 3));

struct Response
{
    bool finished = false;
    int status = 0;
    QByteArray body;
    QByteArray contentLength;
    QByteArray transferEncoding;
};
} // namespace

// The simulator's resources as the program's own readers see them, and as
// its server hands them out, faults included; the program's command line.
class TestGridSimServer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    QNetworkAccessManager m_nam;

    Response get(QStringView path)
    {
        QNetworkRequest request(m_sim->url(path));
        request.setTransferTimeout(10000);
        std::unique_ptr<QNetworkReply> reply(m_nam.get(request));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        const bool finishedInTime = reply->isFinished() || finished.wait(15000);
        return {finishedInTime, reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                reply->readAll(), reply->rawHeader("Content-Length"),
                reply->rawHeader("Transfer-Encoding")};
    }

    QString text(QStringView path) const
    {
        return QString::fromLatin1(m_sim->resource(path)->body);
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
        QVERIFY(csv.startsWith(u"PRODUCED,Mon Aug 13 14:25:03 "_qs));
        QVERIFY(!csv.contains(QRegularExpression(u"[^\r]\n"_qs)));
        const GridStatus s = ReadStatusCsv(csv, {});
        QCOMPARE(s.Level, level);
        QCOMPARE(s.ActualDemandTime.toDateTime(), QDateTime(kAfternoon.date(), QTime(14, 25)));
        QCOMPARE(s.AvailableResources > s.ActualDemand, level != LevelLoadInterruptions);
        QCOMPARE(s.Interruption1 > 0, level == LevelLoadInterruptions);
        QVERIFY(notice.isEmpty() ? !csv.contains(u"FORECAST NOTICE"_qs)
                                 : csv.contains(u"\r\n"_qs + notice + u','));
        const NoticesTexts page = ReadNoticesPage(text(kStatusPagePath), {});
        QCOMPARE(page.NoticesText.contains(u"No active notices"_qs), level == LevelNormal);
        QCOMPARE(ReadForecastPage(text(kForecastPagePath), {}).contains(u"No forecasts"_qs),
                 notice.isEmpty());
        // Actual demand has holes for the hours still to come.
        const OutlookValues outlook = ReadOutlookPage(text(kOutlookPagePath), {});
        QVERIFY(outlook.value(14, 3) > 10000 && outlook.value(15, 3) == HoleValue);
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

    // The real voltwise-gridsim program, as scripts and end-to-end tests run it.
    void rejectsBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("scenario") << QStringList{u"--scenario"_qs, u"sideways"_qs};
        QTest::newRow("port") << QStringList{u"--port"_qs, u"70000"_qs};
        QTest::newRow("fault") << QStringList{u"--fault"_qs, u"/awe/forecast.html=bogus"_qs};
    }

    void rejectsBadOptions()
    {
        QFETCH(QStringList, arguments);
        QProcess sim;
        sim.start(QCoreApplication::applicationDirPath() + u"/voltwise-gridsim"_qs, arguments);
        QVERIFY(sim.waitForFinished(20000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(!sim.readAllStandardError().isEmpty());
    }
};

QTEST_MAIN(TestGridSimServer)
#include "tst_gridsim_server.moc"

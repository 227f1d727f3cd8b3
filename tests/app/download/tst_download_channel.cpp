#include "app/download/download_channel.h"
#include "gridsim/grid_sim.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

const QString kCsv = kStatusCsvPath.toString();
const QString kForecast = kForecastPagePath.toString();

QCoro::Task<> Store(QCoro::Task<DownloadResult> task, std::optional<DownloadResult> *out)
{
    *out = co_await std::move(task);
}

QList<int> States(const QSignalSpy &spy)
{
    QList<int> states;
    for (const QList<QVariant> &arguments : spy)
        states << arguments.at(0).toInt();
    return states;
}

} // namespace

class TestDownloadChannel : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    std::unique_ptr<DownloadChannel> m_channel;

    DownloadResult fetch(QStringView path)
    {
        return QCoro::waitFor(m_channel->fetch(m_sim->url(path)));
    }

private Q_SLOTS:
    void init()
    {
        m_sim = std::make_unique<GridSim>();
        QVERIFY(m_sim->listen(QHostAddress::LocalHost, 0));
        m_channel = std::make_unique<DownloadChannel>();
        m_channel->setTimeout(10s);
    }

    void cleanup()
    {
        m_channel.reset();
        m_sim.reset();
    }

    void successfulFetchReportsEachState()
    {
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);

        const DownloadResult result = fetch(kStatusPagePath);

        QVERIFY(result.ok);
        QCOMPARE(result.httpStatus, 200);
        QCOMPARE(result.body, m_sim->resource(kStatusPagePath)->body);
        QCOMPARE(result.contentType, QByteArray("text/html; charset=iso-8859-1"));
        QVERIFY(result.text().contains(u"ISO System Status"));
        const QList<int> expected{
            int(DownloadState::Requesting),       int(DownloadState::Connecting),
            int(DownloadState::RequestSent),      int(DownloadState::ReceivingResponse),
            int(DownloadState::ResponseReceived), int(DownloadState::ResponseCompleted)};
        QCOMPARE(States(states), expected);
        QCOMPARE(texts.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QCOMPARE(texts.at(i).at(0).toString(), *ProgressText(expected[i], 0, {}));
    }

    void httpErrorPageIsAPage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("faultStatus");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("bodyText");

        QTest::newRow("unknown path")
            << u"/outlook/nothing.html"_qs << 0 << 404 << u"<title>404 Not Found</title>"_qs;
        QTest::newRow("404 on a known path") << kForecast << 404 << 404 << u"404 Not Found"_qs;
        QTest::newRow("500") << kCsv << 500 << 500 << u"500 Internal Server Error"_qs;
        QTest::newRow("503") << kCsv << 503 << 503 << u"503 Service Unavailable"_qs;
        QTest::newRow("400") << kCsv << 400 << 400 << u"400 Bad Request"_qs;
        QTest::newRow("401") << kCsv << 401 << 401 << u"401 Unauthorized"_qs;
        QTest::newRow("407") << kCsv << 407 << 407 << u"407 Unknown"_qs;
        QTest::newRow("418") << kCsv << 418 << 418 << u"418 Unknown"_qs;
        QTest::newRow("599") << kCsv << 599 << 599 << u"599 Unknown"_qs;
    }

    void httpErrorPageIsAPage()
    {
        QFETCH(QString, path);
        QFETCH(int, faultStatus);
        QFETCH(int, status);
        QFETCH(QString, bodyText);
        if (faultStatus != 0)
            m_sim->setFault(path, Fault{.status = faultStatus});
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);

        const DownloadResult result = fetch(path);

        QVERIFY(result.ok);
        QCOMPARE(result.httpStatus, status);
        QVERIFY2(result.text().contains(bodyText), qPrintable(result.text()));
        QCOMPARE(States(states).last(), int(DownloadState::ResponseCompleted));
    }

    void emptyBody_data()
    {
        QTest::addColumn<bool>("chunked");
        QTest::newRow("content length 0") << false;
        QTest::newRow("chunked, no chunks") << true;
    }

    void emptyBody()
    {
        QFETCH(bool, chunked);
        m_sim->setFault(kCsv, Fault{.emptyBody = true, .chunked = chunked});

        const DownloadResult result = fetch(kCsv);

        QVERIFY(result.ok);
        QCOMPARE(result.httpStatus, 200);
        QVERIFY(result.body.isEmpty());
    }

    void timeOut_data()
    {
        QTest::addColumn<QString>("faultText");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<bool>("ok");

        QTest::newRow("stalled body") << u"stall"_qs << 300 << false;
        QTest::newRow("stalled chunked body") << u"stall,chunked"_qs << 300 << false;
        QTest::newRow("stalled empty body") << u"stall,empty"_qs << 300 << false;
        QTest::newRow("no answer in time") << u"delay:3000"_qs << 300 << false;
        QTest::newRow("slow answer in time") << u"delay:200"_qs << 5000 << true;
    }

    void timeOut()
    {
        QFETCH(QString, faultText);
        QFETCH(int, timeoutMs);
        QFETCH(bool, ok);
        m_sim->setFault(kForecast, *ParseFault(faultText));
        m_channel->setTimeout(std::chrono::milliseconds(timeoutMs));
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);

        const DownloadResult result = fetch(kForecastPagePath);

        QCOMPARE(result.ok, ok);
        if (!ok) {
            QVERIFY(result.body.isEmpty());
            QVERIFY2(texts.last().at(0).toString().startsWith(u"Error #4: "),
                     qPrintable(texts.last().at(0).toString()));
        }
    }

    void oversizedBody_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("chunked");
        QTest::addColumn<bool>("ok");

        for (const bool chunked : {false, true}) {
            const char *how = chunked ? "streamed" : "content length";
            QTest::addRow("%s, at the limit", how)
                << qint64(100000) << qint64(100000) << chunked << true;
            QTest::addRow("%s, one byte over", how)
                << qint64(100000) << qint64(100001) << chunked << false;
            QTest::addRow("%s, 10 MiB against the default", how)
                << DownloadChannel::kDefaultMaxBodySize << Fault::kDefaultOversize << chunked
                << false;
        }
    }

    void oversizedBody()
    {
        QFETCH(qint64, limit);
        QFETCH(qint64, size);
        QFETCH(bool, chunked);
        QFETCH(bool, ok);
        m_sim->setFault(kForecast, Fault{.oversizeBytes = size, .chunked = chunked});
        m_channel->setMaxBodySize(limit);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);

        const DownloadResult result = fetch(kForecastPagePath);

        QCOMPARE(result.ok, ok);
        QCOMPARE(result.body.size(), ok ? size : 0);
        if (!ok)
            QVERIFY(texts.last().at(0).toString().startsWith(u"Error #299: "));
    }

    void announcedOversizeFailsBeforeTheBodyArrives()
    {
        // Half of the announced 10 MiB comes, then nothing: only the
        // announced length can tell that it is too large.
        m_sim->setFault(kForecast, Fault{.stall = true, .oversizeBytes = Fault::kDefaultOversize});
        m_channel->setTimeout(3s);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);

        const DownloadResult result = fetch(kForecastPagePath);

        QVERIFY(!result.ok);
        QVERIFY(result.body.isEmpty());
        QVERIFY2(texts.last().at(0).toString().startsWith(u"Error #299: "),
                 qPrintable(texts.last().at(0).toString()));
    }

    void refusedConnectionFails()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 closedPort = probe.serverPort();
        probe.close();
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);

        const DownloadResult result = QCoro::waitFor(m_channel->fetch(
            QUrl(u"http://127.0.0.1:%1/outlook/systemstatus.csv"_qs.arg(closedPort))));

        QVERIFY(!result.ok);
        QCOMPARE(result.httpStatus, 0);
        QVERIFY(result.body.isEmpty());
        QCOMPARE(States(states).last(), int(DownloadState::Error));
        QVERIFY2(texts.last().at(0).toString().startsWith(
                     u"Error #%1: "_qs.arg(int(QNetworkReply::ConnectionRefusedError))),
                 qPrintable(texts.last().at(0).toString()));
    }

    void otherSchemesFailAtOnce_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::newRow("ftp") << QUrl(u"ftp://127.0.0.1/outlook/systemstatus.csv"_qs);
        QTest::newRow("file") << QUrl(u"file:///etc/hostname"_qs);
        QTest::newRow("data") << QUrl(u"data:text/plain,hello"_qs);
        QTest::newRow("no scheme") << QUrl(u"127.0.0.1/outlook/systemstatus.csv"_qs);
    }

    void otherSchemesFailAtOnce()
    {
        QFETCH(QUrl, url);
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);

        QCoro::Task<DownloadResult> task = m_channel->fetch(url);

        QVERIFY(task.isReady());
        const DownloadResult result = QCoro::waitFor(task);
        QVERIFY(!result.ok);
        QVERIFY(result.body.isEmpty());
        QCOMPARE(States(states), QList<int>{int(DownloadState::Error)});
    }

    void abortFailsTheCurrentTransferAtOnce()
    {
        m_sim->setFault(kForecast, Fault{.stall = true});
        QSignalSpy states(m_channel.get(), &DownloadChannel::stateChanged);
        QSignalSpy texts(m_channel.get(), &DownloadChannel::progressText);
        std::optional<DownloadResult> result;
        Store(m_channel->fetch(m_sim->url(kForecastPagePath)), &result);
        QTRY_VERIFY(States(states).contains(int(DownloadState::ReceivingResponse)));
        QVERIFY(!result);

        m_channel->abort();

        QVERIFY(result);
        QVERIFY(!result->ok);
        QVERIFY(result->body.isEmpty());
        QCOMPARE(texts.last().at(0).toString(), u"Error #5: Operation canceled"_qs);

        // The channel still works afterwards.
        m_sim->clearFaults();
        QVERIFY(fetch(kForecastPagePath).ok);
    }

    void destroyingTheChannelFailsItsFetchLater()
    {
        m_sim->setFault(kForecast, Fault{.stall = true});
        auto channel = std::make_unique<DownloadChannel>();
        QPointer<DownloadChannel> guard(channel.get());
        QSignalSpy states(channel.get(), &DownloadChannel::stateChanged);
        std::optional<DownloadResult> result;
        bool channelGoneOnResume = false;
        auto caller = [](QCoro::Task<DownloadResult> task, std::optional<DownloadResult> *out,
                         QPointer<DownloadChannel> *guard, bool *gone) -> QCoro::Task<> {
            *out = co_await std::move(task);
            *gone = guard->isNull();
        };
        caller(channel->fetch(m_sim->url(kForecastPagePath)), &result, &guard,
               &channelGoneOnResume);
        QTRY_VERIFY(States(states).contains(int(DownloadState::ReceivingResponse)));

        channel.reset();

        QVERIFY(!result);
        QTRY_VERIFY(result.has_value());
        QVERIFY(!result->ok);
        QVERIFY(channelGoneOnResume);
    }
};

QTEST_MAIN(TestDownloadChannel)
#include "tst_download_channel.moc"

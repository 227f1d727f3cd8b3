#include "app/download/download_channel.h"
#include "app/grid_readers.h"
#include "gridsim/grid_sim.h"

#include <QTcpServer>
#include <QTest>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

namespace {

const QDateTime kAfternoon(QDate(2024, 7, 15), QTime(14, 32, 10), Qt::UTC);

// The fixed order of one refresh, each on the server it belongs to.
QString On(QStringView server, QStringView path)
{
    return server.toString() + u' ' + path.toString();
}

const QStringList kRefreshOrder{
    On(u"main", kStatusCsvPath),      On(u"content", kLoadPicturePath),
    On(u"content", kOutlookPagePath), On(u"main", kForecastPagePath),
    On(u"content", kStatusPagePath),
};

enum class Part
{
    Status,
    Picture,
    Outlook,
    Forecasts,
    Notices
};

bool SamePart(const GridData &a, const GridData &b, Part part)
{
    switch (part) {
    case Part::Status:
        return a.Status == b.Status;
    case Part::Picture:
        return a.PendingGraphPicture == b.PendingGraphPicture;
    case Part::Outlook:
        return a.Outlook == b.Outlook;
    case Part::Forecasts:
        return a.ForecastsText == b.ForecastsText;
    case Part::Notices:
        return a.Notices == b.Notices;
    }
    return false;
}

quint16 RefusingPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

} // namespace

class TestGridReaders : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_main;
    std::unique_ptr<GridSim> m_content;
    std::unique_ptr<DownloadChannel> m_channel;
    QStringList m_requests;

    ServerUrls servers() const { return {m_main->baseUrl(), m_content->baseUrl(), QUrl()}; }

    GridSim &simFor(const QString &path) const
    {
        const bool main = path == kStatusCsvPath || path == kForecastPagePath;
        return main ? *m_main : *m_content;
    }

    ReadAllResult readAll(GridData &data, ServerUrls urls,
                          std::shared_ptr<const RefreshCancellation> cancellation = nullptr)
    {
        return QCoro::waitFor(ReadAllSources(*m_channel, std::move(urls), data,
                                             QLocale(QLocale::English, QLocale::UnitedStates),
                                             std::move(cancellation)));
    }

    ReadAllResult readAll(GridData &data) { return readAll(data, servers()); }

    std::unique_ptr<GridSim> startSim(const QString &name)
    {
        auto sim = std::make_unique<GridSim>();
        if (!sim->listen(QHostAddress::LocalHost, 0))
            return nullptr;
        sim->setClock([] { return kAfternoon; });
        sim->setScenario(ScenarioKind::Walk);
        connect(sim.get(), &GridSim::requestReceived, this,
                [this, name](const QString &path) { m_requests << name + u' ' + path; });
        return sim;
    }

private Q_SLOTS:
    void init()
    {
        m_requests.clear();
        m_main = startSim(u"main"_qs);
        m_content = startSim(u"content"_qs);
        QVERIFY(m_main && m_content);
        m_channel = std::make_unique<DownloadChannel>();
        m_channel->setTimeout(10s);
    }

    void cleanup()
    {
        m_channel.reset();
        m_main.reset();
        m_content.reset();
    }

    void firstRefreshFillsEveryPart()
    {
        GridData data;
        QCOMPARE(readAll(data).statusCsvHttpStatus, 200);

        const GridSnapshot main = m_main->snapshot();
        QCOMPARE(data.Status.Level, int(LevelNormal));
        QCOMPARE(data.Status.ActualDemand, main.actualDemand);
        QCOMPARE(data.Status.ActualDemandTime.date(), main.measured.date());
        QCOMPARE(data.Status.ActualDemandTime.time(), main.measured.time());
        QCOMPARE(data.PendingGraphPicture, m_content->resource(kLoadPicturePath)->body);
        const GridSnapshot content = m_content->snapshot();
        QCOMPARE(data.Outlook.value(1, 1), content.hours[0].dayAhead);
        QCOMPARE(data.Outlook.value(24, 4), content.hours[23].resources);
        QVERIFY(data.ForecastsText.startsWith(u"Current Active Forecast(s)"));
        QVERIFY(data.Notices.NoticesText.startsWith(u"Current Active Notice(s)"));
        QVERIFY(data.Notices.StatusTableText.contains(u"Normal"));
    }

    void eachResourceOnceInOrder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("statusCsvHttpStatus");

        const QString csv = kStatusCsvPath.toString();
        QTest::newRow("no fault") << csv << u"none"_qs << 10000 << 200;
        QTest::newRow("status file 404") << csv << u"status:404"_qs << 10000 << 404;
        QTest::newRow("status file 503") << csv << u"status:503"_qs << 10000 << 503;
        QTest::newRow("status file empty") << csv << u"empty"_qs << 10000 << 200;
        QTest::newRow("status file stalled") << csv << u"stall"_qs << 400 << 0;
        QTest::newRow("status file too late") << csv << u"delay:3000"_qs << 400 << 0;
        QTest::newRow("picture 500")
            << kLoadPicturePath.toString() << u"status:500"_qs << 10000 << 200;
        QTest::newRow("outlook stalled")
            << kOutlookPagePath.toString() << u"stall"_qs << 400 << 200;
        QTest::newRow("forecast 404")
            << kForecastPagePath.toString() << u"status:404"_qs << 10000 << 200;
        QTest::newRow("status page stalled")
            << kStatusPagePath.toString() << u"stall"_qs << 400 << 200;
    }

    void eachResourceOnceInOrder()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(int, timeoutMs);
        QFETCH(int, statusCsvHttpStatus);
        simFor(path).setFault(path, *ParseFault(fault));
        m_channel->setTimeout(std::chrono::milliseconds(timeoutMs));

        GridData data;
        QCOMPARE(readAll(data).statusCsvHttpStatus, statusCsvHttpStatus);
        QCOMPARE(m_requests, kRefreshOrder);
    }

    void refusedServer_data()
    {
        QTest::addColumn<bool>("mainRefused");
        QTest::addColumn<bool>("contentRefused");

        QTest::newRow("main server") << true << false;
        QTest::newRow("content server") << false << true;
        QTest::newRow("both") << true << true;
    }

    void refusedServer()
    {
        QFETCH(bool, mainRefused);
        QFETCH(bool, contentRefused);
        GridData data;
        QCOMPARE(readAll(data).statusCsvHttpStatus, 200);
        const GridData before = data;
        m_main->advance();
        m_content->advance();
        m_requests.clear();

        const quint16 port = RefusingPort();
        QVERIFY(port != 0);
        QUrl refused(u"http://127.0.0.1"_qs);
        refused.setPort(port);
        ServerUrls urls = servers();
        if (mainRefused)
            urls.gridMain = refused;
        if (contentRefused)
            urls.gridContent = refused;

        const ReadAllResult result = readAll(data, urls);

        QCOMPARE(result.statusCsvHttpStatus, mainRefused ? 0 : 200);
        QStringList reached;
        for (const QString &request : kRefreshOrder) {
            if (!(request.startsWith(u"main") ? mainRefused : contentRefused))
                reached << request;
        }
        QCOMPARE(m_requests, reached);
        QCOMPARE(SamePart(data, before, Part::Status), mainRefused);
        QCOMPARE(SamePart(data, before, Part::Forecasts), mainRefused);
        QCOMPARE(SamePart(data, before, Part::Picture), contentRefused);
        QCOMPARE(SamePart(data, before, Part::Outlook), contentRefused);
        QCOMPARE(SamePart(data, before, Part::Notices), contentRefused);
    }

    // A reader whose page is a not-found page keeps what it had, while the
    // others take up the operator's next step.
    void notFoundPageKeepsPreviousValues_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("kept");

        QTest::newRow("status file 404")
            << kStatusCsvPath.toString() << u"status:404"_qs << int(Part::Status);
        QTest::newRow("status file empty")
            << kStatusCsvPath.toString() << u"empty"_qs << int(Part::Status);
        QTest::newRow("outlook 404")
            << kOutlookPagePath.toString() << u"status:404"_qs << int(Part::Outlook);
        QTest::newRow("forecast 404")
            << kForecastPagePath.toString() << u"status:404"_qs << int(Part::Forecasts);
        QTest::newRow("status page 404")
            << kStatusPagePath.toString() << u"status:404"_qs << int(Part::Notices);
        QTest::newRow("status page empty")
            << kStatusPagePath.toString() << u"empty"_qs << int(Part::Notices);
        QTest::newRow("picture empty")
            << kLoadPicturePath.toString() << u"empty"_qs << int(Part::Picture);
    }

    void notFoundPageKeepsPreviousValues()
    {
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(int, kept);
        GridData data;
        QCOMPARE(readAll(data).statusCsvHttpStatus, 200);
        const GridData before = data;
        // Step 3 is a stage 1 emergency: every resource reads differently.
        for (int i = 0; i < 3; ++i) {
            m_main->advance();
            m_content->advance();
        }
        simFor(path).setFault(path, *ParseFault(fault));

        readAll(data);

        for (const Part part :
             {Part::Status, Part::Picture, Part::Outlook, Part::Forecasts, Part::Notices}) {
            const bool expectKept = int(part) == kept;
            QVERIFY2(SamePart(data, before, part) == expectKept,
                     qPrintable(u"part %1"_qs.arg(int(part))));
        }
    }

    void pictureNeedsTwoBytes_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("size"); // -1 keeps the previous picture, 0 the whole one

        QTest::newRow("no bytes") << u"empty"_qs << -1;
        QTest::newRow("one byte") << u"oversize:1"_qs << -1;
        QTest::newRow("two bytes") << u"oversize:2"_qs << 2;
        QTest::newRow("whole picture") << u"none"_qs << 0;
    }

    void pictureNeedsTwoBytes()
    {
        QFETCH(QString, fault);
        QFETCH(int, size);
        m_content->setFault(kLoadPicturePath, *ParseFault(fault));
        const QByteArray previous("previous");
        GridData data;
        data.PendingGraphPicture = previous;

        readAll(data);

        QVERIFY(data.PendingGraphPicture);
        if (size < 0)
            QCOMPARE(*data.PendingGraphPicture, previous);
        else if (size == 0)
            QCOMPARE(*data.PendingGraphPicture, m_content->resource(kLoadPicturePath)->body);
        else
            QCOMPARE(data.PendingGraphPicture->size(), size);
    }

    // Cancelled while the download of `at` runs (or before the refresh, at
    // -1): nothing after it is requested.
    void cancellationStopsBetweenDownloads_data()
    {
        QTest::addColumn<int>("at");
        QTest::newRow("before the refresh") << -1;
        for (int i = 0; i < kRefreshOrder.size(); ++i)
            QTest::newRow(qPrintable(kRefreshOrder[i])) << i;
    }

    void cancellationStopsBetweenDownloads()
    {
        QFETCH(int, at);
        const auto cancellation = std::make_shared<RefreshCancellation>();
        cancellation->cancelled = at < 0;
        const auto cancelAt = [&](const QString &path) {
            if (at >= 0 && kRefreshOrder[at].endsWith(u' ' + path))
                cancellation->cancelled = true;
        };
        connect(m_main.get(), &GridSim::requestReceived, this, cancelAt);
        connect(m_content.get(), &GridSim::requestReceived, this, cancelAt);
        GridData data;

        readAll(data, servers(), cancellation);

        QCOMPARE(m_requests, kRefreshOrder.mid(0, at + 1));
    }
};

QTEST_GUILESS_MAIN(TestGridReaders)
#include "test_grid_readers.moc"

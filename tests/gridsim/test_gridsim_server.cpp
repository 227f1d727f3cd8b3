#include "support/sim_fixture.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<Fault>)

// The simulator's resources as its server hands them out, faults included.
class TestGridSimServer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    QNetworkAccessManager m_nam;

    // The reply, finished; null when it did not finish in time.
    std::unique_ptr<QNetworkReply> get(QStringView path)
    {
        QNetworkRequest request(m_sim->url(path));
        request.setTransferTimeout(10000);
        std::unique_ptr<QNetworkReply> reply(m_nam.get(request));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        return reply->isFinished() || finished.wait(15000) ? std::move(reply) : nullptr;
    }
    static int httpStatus(const std::unique_ptr<QNetworkReply> &reply)
    {
        return reply ? reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
    }

private Q_SLOTS:
    void init()
    {
        m_sim = testing::StartSim();
        QVERIFY(m_sim);
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
        const auto reply = get(kForecastPagePath);
        QVERIFY(reply);
        QCOMPARE(httpStatus(reply), status);
        const QByteArray body = reply->readAll(), own = m_sim->resource(kForecastPagePath)->body;
        if (bodySize == -1)
            QCOMPARE(body, own);
        else if (bodySize == -2)
            QVERIFY(body.contains("<title>" + QByteArray::number(status) + ' '));
        else
            QCOMPARE(body.size(), bodySize);
        QCOMPARE(reply->rawHeader("Transfer-Encoding") == "chunked", chunked);
        QCOMPARE(reply->rawHeader("Content-Length").isEmpty(), chunked);
        QVERIFY(clock.elapsed() >= fault.delay.count());
        QCOMPARE(httpStatus(get(kStatusPagePath)), 200); // other paths are not affected
        m_sim->clearFaults();
        const auto cleared = get(kForecastPagePath);
        QVERIFY(cleared);
        QCOMPARE(cleared->readAll(), own);
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
        for (const char16_t *bad : {u"trickle", u"status:199", u"status:abc", u"delay:-1",
                                    u"stall:1", u"oversize:0", u"slow", u"STALL"})
            add(QString::fromUtf16(bad), std::nullopt);
    }

    void parseFault()
    {
        QFETCH(QString, faultText);
        QString error;
        const std::optional<Fault> fault = ParseFault(faultText, &error);
        QTEST(fault, "expected");
        QCOMPARE(error.isEmpty(), fault.has_value());
        if (fault)
            QCOMPARE(ParseFault(FaultText(*fault)), fault); // the canonical text reads back
    }
};

QTEST_MAIN(TestGridSimServer)
#include "test_gridsim_server.moc"

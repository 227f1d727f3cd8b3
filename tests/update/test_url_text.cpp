// GetURLText against the in-process simulator, with time-outs expired by hand.
#include "support/manual_timers.h"
#include "support/sim_fixture.h"
#include "update/url_text.h"

#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

class TestUrlText : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;

private Q_SLOTS:
    void init()
    {
        m_sim = StartSim();
        QVERIFY(m_sim);
    }

    void answers_data()
    {
        QTest::addColumn<QString>("url"); // SIM: the simulator's base address
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("requests");

        const QString path = kUpdateDescriptorFilePath.toString();
        QTest::newRow("200") << u"SIM"_qs + path << u"none"_qs << true << 1;
        QTest::newRow("404") << u"SIM/none.inf"_qs << u"none"_qs << false << 1;
        QTest::newRow("500 with a body") << u"SIM"_qs + path << u"status:500"_qs << false << 1;
        QTest::newRow("larger than a mebibyte")
            << u"SIM"_qs + path << u"oversize:1048577"_qs << false << 1;
        QTest::newRow("blank") << u"   "_qs << u"none"_qs << false << 0;
        QTest::newRow("ftp") << u"ftp://127.0.0.1"_qs + path << u"none"_qs << false << 0;
        QTest::newRow("leading blank, sent as given")
            << u" SIM"_qs + path << u"none"_qs << false << 0;
    }

    void answers()
    {
        QFETCH(QString, url);
        QFETCH(QString, fault);
        QFETCH(bool, answered);
        const QString path = kUpdateDescriptorFilePath.toString();
        m_sim->setFault(path, *ParseFault(fault));
        HttpUrlTextSource urls;

        const QString text =
            QCoro::waitFor(urls.GetURLText(url.replace(u"SIM"_qs, m_sim->baseUrl().toString())));

        QCOMPARE(text, answered ? QString::fromUtf8(m_sim->resource(path)->body) : QString());
        QTEST(m_sim->requestCount(path) + m_sim->requestCount(u"/none.inf"), "requests");
    }

    void releaseSetThroughControlPath()
    {
        HttpUrlTextSource urls;
        QCoro::waitFor(urls.GetURLText(m_sim->url(kReleasePath).toString() + u"?version=2.1b4"_qs));
        const QString text =
            QCoro::waitFor(urls.GetURLText(m_sim->url(kUpdateDescriptorFilePath).toString()));
        QVERIFY2(text.startsWith(u"2.1b4\r\n"), qPrintable(text));
    }

    void silenceEndsTheRequest_data()
    {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("ten seconds of silence") << false;
        QTest::newRow("the source goes") << true;
    }

    void silenceEndsTheRequest()
    {
        QFETCH(bool, destroy);
        m_sim->setFault(kUpdateDescriptorFilePath, *ParseFault(u"stall"));
        ManualTimers timers;
        auto urls = std::make_unique<HttpUrlTextSource>(timers);
        auto text = urls->GetURLText(m_sim->url(kUpdateDescriptorFilePath).toString());
        // Connected, sent, and half of the answer in: then silence.
        QTRY_VERIFY(timers.starts() >= 4);

        timers.advance(HttpUrlTextSource::kTimeout - 1ms);
        QVERIFY(!text.isReady());
        if (destroy)
            urls.reset();
        else
            timers.advance(1ms);

        QVERIFY(text.isReady());
        QCOMPARE(QCoro::waitFor(std::move(text)), QString());
        QCOMPARE(timers.alive(), 0);
    }
};

QTEST_GUILESS_MAIN(TestUrlText)
#include "test_url_text.moc"

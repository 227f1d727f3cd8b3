#include "gridsim/sim_fault.h"

#include <QTest>

using namespace voltwise::gridsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(Fault)

class TestGridSimFault : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("faultText");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<Fault>("expected");

        QTest::newRow("nothing") << QString() << true << Fault{};
        QTest::newRow("none") << u"none"_qs << true << Fault{};
        QTest::newRow("delay") << u"delay:1500"_qs << true << Fault{.delay = 1500ms};
        QTest::newRow("status") << u"status:404"_qs << true << Fault{.status = 404};
        QTest::newRow("empty") << u"empty"_qs << true << Fault{.emptyBody = true};
        QTest::newRow("stall") << u"stall"_qs << true << Fault{.stall = true};
        QTest::newRow("oversize default")
            << u"oversize"_qs << true << Fault{.oversizeBytes = Fault::kDefaultOversize};
        QTest::newRow("oversize bytes")
            << u"oversize:2048"_qs << true << Fault{.oversizeBytes = 2048};
        QTest::newRow("combined, blanks") << u" delay:10 , status:500,chunked "_qs << true
                                          << Fault{.delay = 10ms, .status = 500, .chunked = true};
        QTest::newRow("status too low") << u"status:99"_qs << false << Fault{};
        QTest::newRow("status not a number") << u"status:abc"_qs << false << Fault{};
        QTest::newRow("negative delay") << u"delay:-1"_qs << false << Fault{};
        QTest::newRow("delay without value") << u"delay"_qs << false << Fault{};
        QTest::newRow("stall with value") << u"stall:1"_qs << false << Fault{};
        QTest::newRow("oversize zero") << u"oversize:0"_qs << false << Fault{};
        QTest::newRow("unknown") << u"slow"_qs << false << Fault{};
        QTest::newRow("case matters") << u"STALL"_qs << false << Fault{};
    }

    void parse()
    {
        QFETCH(QString, faultText);
        QFETCH(bool, valid);
        QFETCH(Fault, expected);

        QString error;
        const std::optional<Fault> fault = ParseFault(faultText, &error);
        QCOMPARE(fault.has_value(), valid);
        QCOMPARE(error.isEmpty(), valid);
        if (valid) {
            QCOMPARE(*fault, expected);
            QCOMPARE(ParseFault(FaultSpec(*fault)), fault); // the canonical text reads back
        }
    }

    void pathFault_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("faultText");

        QTest::newRow("simple") << u"/awe/forecast.html=status:404"_qs << u"/awe/forecast.html"_qs
                                << u"status:404"_qs;
        QTest::newRow("faultText with colons") << u"/outlook/SP/outlook.html=delay:20,stall"_qs
                                          << u"/outlook/SP/outlook.html"_qs << u"delay:20,stall"_qs;
        QTest::newRow("no path") << u"=stall"_qs << QString() << QString();
        QTest::newRow("relative path") << u"awe/forecast.html=stall"_qs << QString() << QString();
        QTest::newRow("no faultText separator") << u"/awe/forecast.html"_qs << QString() << QString();
        QTest::newRow("bad faultText") << u"/awe/forecast.html=bogus"_qs << QString() << QString();
    }

    void pathFault()
    {
        QFETCH(QString, option);
        QFETCH(QString, path);
        QFETCH(QString, faultText);

        const std::optional<PathFault> parsed = ParsePathFault(option);
        QCOMPARE(parsed.has_value(), !path.isEmpty());
        if (parsed) {
            QCOMPARE(parsed->path, path);
            QCOMPARE(parsed->fault, *ParseFault(faultText));
        }
    }
};

QTEST_GUILESS_MAIN(TestGridSimFault)
#include "tst_gridsim_fault.moc"

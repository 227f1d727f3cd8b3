#include "gridsim/sim_fault.h"

#include <QTest>

using namespace voltwise::gridsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<Fault>)

class TestGridSimFault : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("faultText");
        QTest::addColumn<std::optional<Fault>>("expected");
        const auto add = [](const QString &text, std::optional<Fault> fault) {
            QTest::newRow(qPrintable(text)) << text << fault;
        };
        add({}, Fault{});
        add(u"none"_qs, Fault{});
        add(u"stall"_qs, Fault{.stall = true});
        add(u"oversize"_qs, Fault{.oversizeBytes = Fault::kDefaultOversize});
        add(u"oversize:2048,empty,trickle:50"_qs,
            Fault{.emptyBody = true, .oversizeBytes = 2048, .trickle = 50ms});
        add(u" delay:10 , status:500,chunked "_qs,
            Fault{.delay = 10ms, .status = 500, .chunked = true});
        for (const char16_t *bad : {u"trickle", u"status:99", u"status:abc", u"delay:-1",
                                    u"stall:1", u"oversize:0", u"slow", u"STALL"})
            add(QString::fromUtf16(bad), std::nullopt);
    }

    void parse()
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

    void pathFault()
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

QTEST_GUILESS_MAIN(TestGridSimFault)
#include "tst_gridsim_fault.moc"

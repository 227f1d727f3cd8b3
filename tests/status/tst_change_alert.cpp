#include "status/change_alert.h"

#include <QtTest>

using namespace voltwise;

namespace {
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QUrl kContentServer(u"http://127.0.0.1:8080"_qs);

struct Refresh
{
    QString table;
    int level;
    bool announced;
};
} // namespace

Q_DECLARE_METATYPE(QList<Refresh>)

class TestChangeAlert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequence_data()
    {
        using L = QList<Refresh>;
        QTest::addColumn<L>("refreshes");
        const QString a = u"Flex Alert in effect"_qs;
        const QString b = u"No active notices"_qs;
        QTest::newRow("never read") << L{{{}, 1, false}, {{}, 3, false}};
        QTest::newRow("held back while unknown")
            << L{{a, 0, false}, {a, 0, false}, {a, 2, true}, {a, 2, false}};
        QTest::newRow("changed while unknown, announced later")
            << L{{a, 1, true}, {b, 0, false}, {b, 1, true}, {b, 1, false}};
        QTest::newRow("back to the announced text while unknown")
            << L{{a, 1, true}, {b, 0, false}, {a, 1, false}};
        QTest::newRow("level change alone")
            << L{{a, 1, true}, {a, 2, false}, {a, 7, false}, {a, 0, false}};
        QTest::newRow("new text, same level") << L{{a, 3, true}, {b, 3, true}, {a, 3, true}};
        QTest::newRow("case only") << L{{a, 1, true}, {a.toUpper(), 1, true}};
    }

    void sequence()
    {
        QFETCH(QList<Refresh>, refreshes);
        ChangeAlert alert(kContentServer);
        QString announced;
        for (qsizetype i = 0; i < refreshes.size(); ++i) {
            const Refresh &r = refreshes.at(i);
            const auto notice = alert.check(r.table, r.level, u"Alert Notice"_qs, 1, true, kUs);
            QVERIFY2(notice.has_value() == r.announced, qPrintable(QString::number(i)));
            if (notice) {
                announced = r.table;
                QCOMPARE(notice->NoticeText, r.table);
            }
            QCOMPARE(alert.LastAnnouncedStatus(), announced);
        }
    }

    void notice()
    {
        ChangeAlert alert(kContentServer);
        const auto notice = alert.check(u"Stage 3"_qs, 7, u"Alert Notice"_qs, -1234.4, true,
                                        QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(notice, (ChangeNotice{u"Alert Notice: -1.234 MW"_qs, u"Stage 3"_qs,
                                       u"Click here for details..."_qs,
                                       QUrl(u"http://127.0.0.1:8080/awe/SP/systemstatus.html"_qs),
                                       7000, true}));
        QVERIFY(!ChangeAlert(kContentServer).check(u"A"_qs, 1, {}, 0, false, kUs)->PlaySound);
    }
};

QTEST_GUILESS_MAIN(TestChangeAlert)
#include "tst_change_alert.moc"

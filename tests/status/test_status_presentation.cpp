#include "status/change_alert.h"
#include "status/scale_colours.h"
#include "status/status_formats.h"
#include "status/status_presentation.h"

#include <QtTest>

#include <cmath>

using namespace voltwise;

namespace {
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QUrl kContentServer(u"http://127.0.0.1:8080"_qs);

// A refresh's notices table and level, and whether it raises an alert.
struct Refresh
{
    QString table;
    int level;
    bool announced;
};

OleDate at(int month, int day, int hour, int minute = 0)
{
    return OleDate::fromDateAndTime(QDate(2023, month, day), QTime(hour, minute));
}

GridStatus interruptions()
{
    GridStatus s;
    s.Level = LevelLoadInterruptions;
    s.ForecastKind = 2; // the level decides before the forecast kind
    s.NoticeValue = 1500.4;
    s.Interruption1 = 600;
    s.Interruption2 = 500;
    s.Interruption3 = 300;
    s.Interruption4 = 40; // Pasadena
    s.Interruption5 = 60; // Vernon
    s.NoticeStart = at(8, 15, 14);
    s.NoticeEnd = at(8, 15, 18);
    return s;
}
} // namespace

// The presented status: texts, lit labels, pictures; and the change alert.
class TestStatusPresentation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("condition"); // empty: left as it was
        QTest::addColumn<QString>("stripText");
        QTest::addColumn<int>("image");
        QTest::addColumn<int>("litLabel"); // -1: none
        const auto row = [](int level, const char16_t *condition, int image, int lit,
                            const char16_t *strip = nullptr) {
            const QString c = condition ? QString::fromUtf16(condition) : QString();
            QTest::addRow("level %d", level)
                << level << c << (strip ? QString::fromUtf16(strip) : c) << image << lit;
        };
        row(0, u"Status Unknown", 1, -1);
        row(1, u"System Normal", 2, 0);
        row(2, u"Alert Notice", 3, 1);
        row(3, u"Warning Notice", 4, 2);
        row(4, u"Stage 1 Emergency", 5, 3);
        row(5, u"Stage 2 Emergency", 6, 4);
        row(6, u"Stage 3 Emergency", 7, 5);
        row(7, u"Emergency Load Reductions", 8, 5, u"Rolling Blackouts");
        row(8, nullptr, 0, -1);
        row(-1, nullptr, 0, -1);
    }

    void levels()
    {
        QFETCH(int, level);
        QFETCH(QString, condition);
        QFETCH(int, litLabel);
        GridStatus status;
        status.Level = level;
        status.ForecastKind = level; // lights forecast lamp 1 to 3 alone
        status.ActualDemand = 31456.4;
        const StatusPresentation p = PresentStatus(status, kUs);
        if (condition.isEmpty()) {
            QVERIFY(!p.SystemCondition && !p.lblStatusText && !p.imageIndex && !p.trayTip);
        } else {
            QCOMPARE(p.SystemCondition, condition);
            QTEST(p.lblStatusText.value_or(QString()), "stripText");
            QTEST(p.imageIndex.value_or(-1), "image");
            QCOMPARE(p.trayTip, condition + u": 31,456 MW"_qs);
        }
        for (int i = 0; i < 6; ++i)
            QCOMPARE(p.lblStatus[std::size_t(i)], i == litLabel);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(p.lblForecast[std::size_t(i)], i + 1 == level);
        // Published: an unknown level keeps the condition published before.
        QCOMPARE(p.publishedItems({{}, u"before"_qs, {}}).SystemCondition,
                 condition.isEmpty() ? u"before"_qs : condition);
    }

    // A time with no date part is a real value, not the default; with no load, no header.
    void timeOnly()
    {
        GridStatus status;
        status.ActualDemandTime = OleDate{0.5};
        const StatusPresentation p = PresentStatus(status, kGerman);
        QCOMPARE(p.UpdateTime, u"12:00:00"_qs);
        QCOMPARE(p.lblCurrentCondition[0], u"Updated: 12:00:00"_qs);
        QVERIFY(!p.chartHeader);
    }

    void trayTipCut()
    {
        const QString exact(63, u'a');
        const QString clef = u"\U0001D11E"_qs; // two UTF-16 units
        QCOMPARE(CutTrayTip(exact), exact);
        QCOMPARE(CutTrayTip(exact + u'b'), exact);
        QCOMPARE(CutTrayTip(QString(61, u'a') + clef + u'z'), QString(61, u'a') + clef);
        QCOMPARE(CutTrayTip(QString(62, u'a') + clef), QString(62, u'a'));

        GridStatus status;
        status.Level = LevelLoadInterruptions;
        status.ActualDemand = std::ldexp(1.0, 100); // 1,267,650,600,... exactly
        const auto presented = PresentStatus(status, kUs).trayTip;
        QCOMPARE(presented->size(), kTrayTipMaxLength);
        QVERIFY(presented->startsWith(u"Emergency Load Reductions: 1,267,650,600,"_qs));
    }

    // The eight texts of the block, joined by "|".
    void loadReduction_data()
    {
        QTest::addColumn<GridStatus>("status");
        QTest::addColumn<QString>("texts");
        const QString span = u"|8/15/2023 2:00:00 PM to 8/15/2023 6:00:00 PM|"_qs;
        const QString zeros = u" 0 MW| 0 MW| 0 MW| 0 MW| 0 MW| 0 MW"_qs;
        const QString unknowns = u"| Unknown| Unknown| Unknown| Unknown| Unknown"_qs;

        GridStatus s = interruptions();
        QTest::newRow("current") << s
                                 << u"Current Load Reductions"_qs + span +
                                        u" 1,500 MW| 600 MW| 500 MW| 300 MW| 40 MW| 60 MW"_qs;
        GridStatus unread;
        unread.Level = LevelLoadInterruptions;
        QTest::newRow("current never read")
            << unread << u"Current Load Reductions|Undetermined to Undetermined|"_qs + zeros;
        s.Level = LevelNormal;
        s.ForecastKind = 0;
        QTest::newRow("none") << s << u"Current Load Reductions|None Required|"_qs + zeros;
        s.ForecastKind = 2;
        s.NoticeEnd = {};
        QTest::newRow("24-hour forecast, open end")
            << s
            << u"Forecasted Load Reductions|8/15/2023 2:00:00 PM to Undetermined| Unknown"_qs +
                   unknowns;
        s = interruptions();
        s.Level = LevelStage3;
        s.ForecastKind = 3;
        s.NoticeValue = 500;
        QTest::newRow("1-hour forecast")
            << s << u"Forecasted Load Reductions"_qs + span + u" 500 MW"_qs + unknowns;
        // Today's feeds: nothing invented where the operator publishes nothing.
        const QString unpublished =
            u"|Not published by the grid operator"_qs + u"| \u2014"_qs.repeated(6);
        for (const std::int32_t level : {LevelNormal, LevelLoadInterruptions}) {
            GridStatus today;
            today.Level = level;
            today.ReductionsNotPublished = true;
            QTest::addRow("today's feeds, level %d", level)
                << today << u"Current Load Reductions"_qs + unpublished;
        }
    }

    void loadReduction()
    {
        QFETCH(GridStatus, status);
        const auto labels = PresentStatus(status, kUs).lblLoadReduction;
        QTEST(QStringList(labels.begin(), labels.end()).join(u'|'), "texts");
    }

    // Unlit scale text, in greys: the scheme's greyed text where it stands apart
    // from the lit text and the strip, else the lit text halfway to the strip.
    void unlitScaleColour_data()
    {
        QTest::addColumn<int>("lit");
        QTest::addColumn<int>("disabled");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("unlit");
        QTest::newRow("grey on white") << 0 << 160 << 255 << 160;
        QTest::newRow("dark") << 255 << 127 << 42 << 127;
        QTest::newRow("flat") << 0 << 0 << 255 << 128;
        QTest::newRow("greyed text lost in the strip") << 255 << 26 << 0 << 128;
    }

    void unlitScaleColour()
    {
        QFETCH(int, lit);
        QFETCH(int, disabled);
        QFETCH(int, background);
        QFETCH(int, unlit);
        const auto grey = [](int v) {
            return Rgb{v, v, v};
        };
        QVERIFY(UnlitScaleColour(grey(lit), grey(disabled), grey(background)) == grey(unlit));
    }

    void alertSequence_data()
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

    void alertSequence()
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

    void alertNotice()
    {
        ChangeAlert alert(kContentServer);
        const auto notice =
            alert.check(u"Stage 3"_qs, 7, u"Alert Notice"_qs, -1234.4, true, kGerman);
        QCOMPARE(notice, (ChangeNotice{u"Alert Notice: -1.234 MW"_qs, u"Stage 3"_qs,
                                       u"Click here for details..."_qs,
                                       QUrl(u"http://127.0.0.1:8080/awe/SP/systemstatus.html"_qs),
                                       7000, true}));
        QVERIFY(!ChangeAlert(kContentServer).check(u"A"_qs, 1, {}, 0, false, kUs)->PlaySound);
    }
};

QTEST_GUILESS_MAIN(TestStatusPresentation)
#include "test_status_presentation.moc"

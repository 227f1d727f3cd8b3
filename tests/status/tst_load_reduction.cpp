#include "status/load_reduction.h"

#include <QtTest>

Q_DECLARE_METATYPE(voltwise::GridStatus)

using namespace voltwise;

namespace {
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

OleDate at(int day, int hour)
{
    return OleDate::fromDateAndTime(QDate(2023, 8, day), QTime(hour, 0));
}

GridStatus interruptions()
{
    GridStatus status;
    status.Level = LevelLoadInterruptions;
    status.NoticeValue = 1500.4;
    status.Interruption1 = 600;
    status.Interruption2 = 500;
    status.Interruption3 = 300;
    status.Interruption4 = 40; // Pasadena
    status.Interruption5 = 60; // Vernon
    status.NoticeStart = at(15, 14);
    status.NoticeEnd = at(15, 18);
    return status;
}
} // namespace

using Texts = QStringList;

class TestLoadReduction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forms_data()
    {
        QTest::addColumn<GridStatus>("status");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<Texts>("texts");

        const QString current = u"Current Load Reductions"_qs;
        const QString forecast = u"Forecasted Load Reductions"_qs;
        const QString unknown = u" Unknown"_qs;
        const QString zero = u" 0 MW"_qs;

        GridStatus status = interruptions();
        QTest::newRow("current")
            << status << kUs
            << Texts{current,         u"8/15/2023 2:00:00 PM to 8/15/2023 6:00:00 PM"_qs,
                     u" 1,500 MW"_qs, u" 600 MW"_qs,
                     u" 500 MW"_qs,   u" 300 MW"_qs,
                     u" 40 MW"_qs,    u" 60 MW"_qs};
        QTest::newRow("current de")
            << status << kGerman
            << Texts{current,         u"15.08.2023 14:00:00 to 15.08.2023 18:00:00"_qs,
                     u" 1.500 MW"_qs, u" 600 MW"_qs,
                     u" 500 MW"_qs,   u" 300 MW"_qs,
                     u" 40 MW"_qs,    u" 60 MW"_qs};

        // The level decides before the forecast kind.
        status.ForecastKind = 2;
        QTest::newRow("current despite forecast")
            << status << kUs
            << Texts{current,         u"8/15/2023 2:00:00 PM to 8/15/2023 6:00:00 PM"_qs,
                     u" 1,500 MW"_qs, u" 600 MW"_qs,
                     u" 500 MW"_qs,   u" 300 MW"_qs,
                     u" 40 MW"_qs,    u" 60 MW"_qs};

        GridStatus unread;
        unread.Level = LevelLoadInterruptions;
        QTest::newRow("current never read")
            << unread << kUs
            << Texts{current, u"Undetermined to Undetermined"_qs, zero, zero, zero, zero, zero,
                     zero};

        status = interruptions();
        status.NoticeStart = {};
        QTest::newRow("current open start")
            << status << kUs << Texts{current,         u"Undetermined to 8/15/2023 6:00:00 PM"_qs,
                                      u" 1,500 MW"_qs, u" 600 MW"_qs,
                                      u" 500 MW"_qs,   u" 300 MW"_qs,
                                      u" 40 MW"_qs,    u" 60 MW"_qs};

        status = interruptions();
        status.Level = LevelNormal;
        QTest::newRow("none") << status << kUs
                              << Texts{current, u"None Required"_qs, zero, zero, zero, zero, zero,
                                       zero};
        status.ForecastKind = 2;
        QTest::newRow("24-hour forecast")
            << status << kUs << Texts{forecast, u"8/15/2023 2:00:00 PM to 8/15/2023 6:00:00 PM"_qs,
                                      unknown,  unknown,
                                      unknown,  unknown,
                                      unknown,  unknown};
        status.ForecastKind = 1;
        status.NoticeEnd = {};
        QTest::newRow("48-hour forecast, open end")
            << status << kUs << Texts{forecast, u"8/15/2023 2:00:00 PM to Undetermined"_qs,
                                      unknown,  unknown,
                                      unknown,  unknown,
                                      unknown,  unknown};

        status = interruptions();
        status.Level = LevelStage3;
        status.ForecastKind = 3;
        status.NoticeValue = 500;
        QTest::newRow("1-hour forecast")
            << status << kUs
            << Texts{forecast,      u"8/15/2023 2:00:00 PM to 8/15/2023 6:00:00 PM"_qs,
                     u" 500 MW"_qs, unknown,
                     unknown,       unknown,
                     unknown,       unknown};
    }

    void forms()
    {
        QFETCH(GridStatus, status);
        QFETCH(QLocale, locale);
        QFETCH(Texts, texts);
        const auto labels = LoadReductionTexts(status, locale);
        QCOMPARE(Texts(labels.begin(), labels.end()), texts);
    }
};

QTEST_GUILESS_MAIN(TestLoadReduction)
#include "tst_load_reduction.moc"

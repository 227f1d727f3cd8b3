// The classic status file read.
#include "refresh/status_csv_reader.h"

#include <QTest>

#include <type_traits>
#include <variant>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::GridStatus)

namespace {

using Member =
    std::variant<double GridStatus::*, std::int32_t GridStatus::*, OleDate GridStatus::*>;

const QList<std::pair<QString, Member>> &Fields()
{
#define FIELD(name) std::pair<QString, Member>(QStringLiteral(#name), &GridStatus::name)
    // clang-format off
    static const QList<std::pair<QString, Member>> fields{
        FIELD(ActualDemand), FIELD(ActualDemandTime), FIELD(AvailableResources),
        FIELD(AvailableResourcesTime), FIELD(ForecastKind), FIELD(NoticeStart), FIELD(NoticeEnd),
        FIELD(NoticeValue), FIELD(Interruption1), FIELD(Interruption2), FIELD(Interruption3),
        FIELD(Interruption4), FIELD(Interruption5), FIELD(ReserveMargin), FIELD(Level),
        FIELD(LevelStart), FIELD(LevelEnd), FIELD(ForecastPeakToday), FIELD(PeakDemandToday),
        FIELD(ForecastPeakTomorrow), FIELD(Produced)};
    // clang-format on
#undef FIELD
    return fields;
}

// `status` with the changes "Field=value ...", dates as yyyy-MM-ddTHH:mm[:ss].
GridStatus With(GridStatus status, QStringView changes)
{
    for (const QStringView change : changes.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = change.indexOf(u'=');
        const QString value = change.sliced(equals + 1).toString();
        const auto field = std::find_if(Fields().begin(), Fields().end(), [&](const auto &f) {
            return f.first == change.left(equals);
        });
        if (field == Fields().end())
            qFatal("unknown field in %s", qPrintable(change.toString()));
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(status.*member)>;
                if constexpr (std::is_same_v<T, OleDate>) {
                    const QDateTime time = QDateTime::fromString(value, Qt::ISODate);
                    status.*member = OleDate::fromDateAndTime(time.date(), time.time());
                } else {
                    status.*member = T(value.toDouble());
                }
            },
            field->second);
    }
    return status;
}

// A record from an earlier refresh with every field holding a value.
GridStatus Old()
{
    return With({},
                u"ActualDemand=30000 ActualDemandTime=2001-09-13T10:00 AvailableResources=36000 "
                "AvailableResourcesTime=2001-09-13T10:05 ForecastKind=2 "
                "NoticeStart=2001-09-13T12:00 NoticeEnd=2001-09-13T20:00 NoticeValue=750 "
                "Interruption1=11 Interruption2=12 Interruption3=13 Interruption4=14 "
                "Interruption5=15 ReserveMargin=6000 Level=3 LevelStart=2001-09-13T09:00 "
                "LevelEnd=2001-09-13T21:00 ForecastPeakToday=33000 PeakDemandToday=31000 "
                "ForecastPeakTomorrow=34000 Produced=2001-09-13T10:07:01");
}

const QString kFullFile = u"PRODUCED,Fri Sep 14 14:30:05 PDT 2001\n"
                          "ACTUAL DEMAND,31456.5,9/14/2001 14:25\n"
                          "AVAILABLE RESOURCES,35000,9/14/2001 14:20\n"
                          "PEAK DEMAND TODAY,32100\n"
                          "FORECAST PEAK DEMAND TODAY,33200\n"
                          "FORECAST PEAK DEMAND TOMORROW,34300\n"
                          "SYSTEM STATUS,ALERT,9/14/2001 12:00,9/14/2001 18:00\n"
                          "1 HOUR FORECAST NOTICE,ACTIVE,9/14/2001 15:00,9/14/2001 16:00,1500\n"_qs;

// Everything but the forecast kind and the interruptions.
const QString kFullFileChanges =
    u"Produced=2001-09-14T14:30:05 ActualDemand=31456.5 ActualDemandTime=2001-09-14T14:25 "
    "AvailableResources=35000 AvailableResourcesTime=2001-09-14T14:20 ReserveMargin=3543.5 "
    "PeakDemandToday=32100 ForecastPeakToday=33200 ForecastPeakTomorrow=34300 Level=2 "
    "LevelStart=2001-09-14T12:00 LevelEnd=2001-09-14T18:00 NoticeStart=2001-09-14T15:00 "
    "NoticeEnd=2001-09-14T16:00 NoticeValue=1500"_qs;

} // namespace

class TestStatusCsvReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<GridStatus>("expected");

        const GridStatus old = Old();
        const auto row = [&](const char *name, const QString &text, QStringView changes) {
            QTest::newRow(name) << text << With(old, changes);
        };

        row("full file", kFullFile, kFullFileChanges);
        row("empty text keeps everything", QString(), {});

        // The operator's conventions whatever the user's locale (CRLF line
        // ends and month-first dates: the simulator's file in test_status_tool).
        row("comma splits a decimal comma", u"PEAK DEMAND TODAY,32100,5"_qs,
            u"PeakDemandToday=32100");

        row("normal keeps level dates", u"SYSTEM STATUS,NORMAL,9/14/2001 12:00,9/14/2001 18:00"_qs,
            u"Level=1");
        row("unknown status keeps level, dates follow the kept level",
            u"SYSTEM STATUS,STAGE 4,9/14/2001 12:00,9/14/2001 18:00"_qs,
            u"LevelStart=2001-09-14T12:00 LevelEnd=2001-09-14T18:00");

        row("load interruptions, columns 7 and 8 swapped, later ones ignored",
            u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS,9/14/2001 12:00,,1,2,3,4,5,6,7"_qs,
            u"Level=7 LevelStart=2001-09-14T12:00 Interruption1=1 Interruption2=2 "
            "Interruption3=3 Interruption5=4 Interruption4=5");

        row("margin computed even when resources do not convert",
            u"ACTUAL DEMAND,31000\nAVAILABLE RESOURCES,n/a"_qs,
            u"ActualDemand=31000 ReserveMargin=5000");
        row("a bad column keeps only its field",
            u"ACTUAL DEMAND,--,9/14/2001 14:25\nAVAILABLE RESOURCES, 35000 ,2/30/2001"_qs,
            u"ActualDemandTime=2001-09-14T14:25 AvailableResources=35000 ReserveMargin=5000");
        row("keyword must match in full, with a comma",
            u"ACTUAL DEMAND\nPEAK DEMAND TODAY 32000\nPEAK DEMAND TODAY X,1\nPEAK DEMAND,2"_qs, {});
        row("figures that cannot be meant keep their fields",
            u"ACTUAL DEMAND,-45165\nPEAK DEMAND TODAY,1e300\nFORECAST PEAK DEMAND TODAY,45000"_qs,
            u"ForecastPeakToday=45000");
        row("later row wins unless it does not convert",
            u"PEAK DEMAND TODAY,32000\nPEAK DEMAND TODAY,32500\nPEAK DEMAND TODAY,x"_qs,
            u"PeakDemandToday=32500");

        row("several notice rows, last decides",
            u"48 HOUR FORECAST NOTICE,A,9/15/2001 12:00,9/15/2001 20:00\n"
            "1 HOUR FORECAST NOTICE,B,9/14/2001 15:00,9/14/2001 16:00,1500\n"
            "24 HOUR FORECAST NOTICE,C,9/16/2001 13:00,9/16/2001 19:00,999"_qs,
            u"NoticeStart=2001-09-16T13:00 NoticeEnd=2001-09-16T19:00 NoticeValue=1500");

        // Hostile input: read in bounded time and memory, a good line after it still read.
        constexpr qsizetype kMiB = 1024 * 1024;
        const QString good = u"\nACTUAL DEMAND,31000\n"_qs;
        row("megabytes of commas after a status",
            u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS"_qs + QString(4 * kMiB, u','), u"Level=7");
        row("extremely long value", u"PEAK DEMAND TODAY,32000,"_qs + QString(8 * kMiB, u'9') + good,
            u"PeakDemandToday=32000 ActualDemand=31000");
    }

    void reads()
    {
        QFETCH(QString, text);
        QFETCH(GridStatus, expected);
        const GridStatus actual = ReadStatusCsv(text, Old());
        for (const auto &[name, member] : Fields())
            QVERIFY2(std::visit([&](auto m) { return actual.*m == expected.*m; }, member),
                     qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestStatusCsvReader)
#include "test_status_csv_reader.moc"

#include "app/status_csv/status_csv_reader.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace voltwise;

Q_DECLARE_METATYPE(voltwise::GridStatus)

namespace voltwise {
// Field by field, so a failed comparison shows what differs.
char *toString(const GridStatus &s)
{
    QStringList parts;
    const auto number = [&](const char *name, double value) {
        parts << QString::fromLatin1(name) + u'=' + QString::number(value, 'g', 17);
    };
    const auto date = [&](const char *name, OleDate value) {
        parts << QString::fromLatin1(name) + u'=' + value.toDateTime().toString(Qt::ISODate);
    };
    number("ActualDemand", s.ActualDemand);
    date("ActualDemandTime", s.ActualDemandTime);
    number("AvailableResources", s.AvailableResources);
    date("AvailableResourcesTime", s.AvailableResourcesTime);
    number("ForecastKind", s.ForecastKind);
    date("NoticeStart", s.NoticeStart);
    date("NoticeEnd", s.NoticeEnd);
    number("NoticeValue", s.NoticeValue);
    number("Interruption1", s.Interruption1);
    number("Interruption2", s.Interruption2);
    number("Interruption3", s.Interruption3);
    number("Interruption4", s.Interruption4);
    number("Interruption5", s.Interruption5);
    number("ReserveMargin", s.ReserveMargin);
    number("Level", s.Level);
    date("LevelStart", s.LevelStart);
    date("LevelEnd", s.LevelEnd);
    number("ForecastPeakToday", s.ForecastPeakToday);
    number("PeakDemandToday", s.PeakDemandToday);
    number("ForecastPeakTomorrow", s.ForecastPeakTomorrow);
    date("Produced", s.Produced);
    return qstrdup(parts.join(u"\n  "_qs).toUtf8().constData());
}
} // namespace voltwise

class TestStatusCsvReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data();
    void reads();
    void lineEndsDoNotMatter();
    void hostileInput_data();
    void hostileInput();
};

namespace {
const QString kEnglish = u"en_US"_qs;
const QString kGerman = u"de_DE"_qs;

OleDate at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDate::fromDateAndTime(QDate(year, month, day), QTime(hour, minute, second));
}

GridStatus with(GridStatus status, const std::function<void(GridStatus &)> &change)
{
    change(status);
    return status;
}

// A record from an earlier refresh with every field holding a value.
GridStatus earlier()
{
    GridStatus s;
    s.ActualDemand = 30000;
    s.ActualDemandTime = at(2001, 9, 13, 10, 0);
    s.AvailableResources = 36000;
    s.AvailableResourcesTime = at(2001, 9, 13, 10, 5);
    s.ForecastKind = 2;
    s.NoticeStart = at(2001, 9, 13, 12, 0);
    s.NoticeEnd = at(2001, 9, 13, 20, 0);
    s.NoticeValue = 750;
    s.Interruption1 = 11;
    s.Interruption2 = 12;
    s.Interruption3 = 13;
    s.Interruption4 = 14;
    s.Interruption5 = 15;
    s.ReserveMargin = 6000;
    s.Level = LevelWarning;
    s.LevelStart = at(2001, 9, 13, 9, 0);
    s.LevelEnd = at(2001, 9, 13, 21, 0);
    s.ForecastPeakToday = 33000;
    s.PeakDemandToday = 31000;
    s.ForecastPeakTomorrow = 34000;
    s.Produced = at(2001, 9, 13, 10, 7, 1);
    return s;
}

const QString kFullFile = u"PRODUCED,Fri Sep 14 14:30:05 PDT 2001\n"
                          "ACTUAL DEMAND,31456.4,9/14/2001 14:25\n"
                          "AVAILABLE RESOURCES,35000,9/14/2001 14:20\n"
                          "PEAK DEMAND TODAY,32100\n"
                          "FORECAST PEAK DEMAND TODAY,33200\n"
                          "FORECAST PEAK DEMAND TOMORROW,34300\n"
                          "SYSTEM STATUS,ALERT,9/14/2001 12:00,9/14/2001 18:00\n"
                          "1 HOUR FORECAST NOTICE,ACTIVE,9/14/2001 15:00,9/14/2001 16:00,1500\n"_qs;

GridStatus fullFileResult()
{
    GridStatus s;
    s.Produced = at(2001, 9, 14, 14, 30, 5);
    s.ActualDemand = 31456.4;
    s.ActualDemandTime = at(2001, 9, 14, 14, 25);
    s.AvailableResources = 35000;
    s.AvailableResourcesTime = at(2001, 9, 14, 14, 20);
    s.ReserveMargin = 35000 - 31456.4;
    s.PeakDemandToday = 32100;
    s.ForecastPeakToday = 33200;
    s.ForecastPeakTomorrow = 34300;
    s.Level = LevelAlert;
    s.LevelStart = at(2001, 9, 14, 12, 0);
    s.LevelEnd = at(2001, 9, 14, 18, 0);
    s.NoticeStart = at(2001, 9, 14, 15, 0);
    s.NoticeEnd = at(2001, 9, 14, 16, 0);
    s.NoticeValue = 1500;
    return s;
}
} // namespace

void TestStatusCsvReader::reads_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<GridStatus>("previous");
    QTest::addColumn<GridStatus>("expected");

    const GridStatus none;
    const GridStatus old = earlier();

    QTest::newRow("full file") << kEnglish << kFullFile << none << fullFileResult();
    QTest::newRow("full file over an earlier record")
        << kEnglish << kFullFile << old << with(fullFileResult(), [&](GridStatus &s) {
               s.ForecastKind = old.ForecastKind;
               s.Interruption1 = old.Interruption1;
               s.Interruption2 = old.Interruption2;
               s.Interruption3 = old.Interruption3;
               s.Interruption4 = old.Interruption4;
               s.Interruption5 = old.Interruption5;
           });
    QTest::newRow("de full file") << kGerman
                                  << u"PRODUCED,Fri Sep 14 14:30:05 PDT 2001\n"
                                     "ACTUAL DEMAND,31456,14.09.2001 14:25\n"
                                     "SYSTEM STATUS,ALERT,14.09.2001 12:00,14.09.2001 18:00\n"_qs
                                  << none << with(none, [](GridStatus &s) {
                                         s.Produced = at(2001, 9, 14, 14, 30, 5);
                                         s.ActualDemand = 31456;
                                         s.ActualDemandTime = at(2001, 9, 14, 14, 25);
                                         s.Level = LevelAlert;
                                         s.LevelStart = at(2001, 9, 14, 12, 0);
                                         s.LevelEnd = at(2001, 9, 14, 18, 0);
                                     });
    QTest::newRow("en numeric date is month first")
        << kEnglish << u"ACTUAL DEMAND,31456,3/4/2001 14:25"_qs << none
        << with(none, [](GridStatus &s) {
               s.ActualDemand = 31456;
               s.ActualDemandTime = at(2001, 3, 4, 14, 25);
           });
    QTest::newRow("de numeric date is day first")
        << kGerman << u"ACTUAL DEMAND,31456,3/4/2001 14:25"_qs << none
        << with(none, [](GridStatus &s) {
               s.ActualDemand = 31456;
               s.ActualDemandTime = at(2001, 4, 3, 14, 25);
           });
    QTest::newRow("en decimal point")
        << kEnglish << u"PEAK DEMAND TODAY,32100.5"_qs << none
        << with(none, [](GridStatus &s) { s.PeakDemandToday = 32100.5; });
    QTest::newRow("de decimal point does not convert")
        << kGerman << u"PEAK DEMAND TODAY,32100.5"_qs << old << old;
    QTest::newRow("comma always splits, also a decimal comma")
        << kGerman << u"PEAK DEMAND TODAY,32100,5"_qs << none
        << with(none, [](GridStatus &s) { s.PeakDemandToday = 32100; });

    QTest::newRow("empty text keeps everything") << kEnglish << QString() << old << old;
    QTest::newRow("empty text leaves level unknown") << kEnglish << QString() << none << none;
    QTest::newRow("blank lines only") << kEnglish << u"\n\r\n  \n"_qs << old << old;
    QTest::newRow("lower-case status line")
        << kEnglish << u"system status,normal"_qs << old
        << with(old, [](GridStatus &s) { s.Level = LevelNormal; });
    QTest::newRow("lower-case produced line")
        << kEnglish << u"produced,fri sep 14 14:30:05 pdt 2001"_qs << none
        << with(none, [](GridStatus &s) { s.Produced = at(2001, 9, 14, 14, 30, 5); });
    QTest::newRow("blank after comma matches no status")
        << kEnglish << u"SYSTEM STATUS, NORMAL"_qs << old << old;
    QTest::newRow("blank before line end matches no status")
        << kEnglish << u"SYSTEM STATUS,NORMAL \r\n"_qs << old << old;
    QTest::newRow("blanks around the keyword")
        << kEnglish << u"  SYSTEM STATUS ,NORMAL\r\n"_qs << old
        << with(old, [](GridStatus &s) { s.Level = LevelNormal; });
    QTest::newRow("normal keeps level dates")
        << kEnglish << u"SYSTEM STATUS,NORMAL,9/14/2001 12:00,9/14/2001 18:00"_qs << old
        << with(old, [](GridStatus &s) { s.Level = LevelNormal; });
    QTest::newRow("alert sets level dates")
        << kEnglish << u"SYSTEM STATUS,ALERT,9/14/2001 12:00,9/14/2001 18:00"_qs << old
        << with(old, [](GridStatus &s) {
               s.Level = LevelAlert;
               s.LevelStart = at(2001, 9, 14, 12, 0);
               s.LevelEnd = at(2001, 9, 14, 18, 0);
           });
    QTest::newRow("unknown status keeps level, dates follow the kept level")
        << kEnglish << u"SYSTEM STATUS,STAGE 4,9/14/2001 12:00,9/14/2001 18:00"_qs << old
        << with(old, [](GridStatus &s) {
               s.LevelStart = at(2001, 9, 14, 12, 0);
               s.LevelEnd = at(2001, 9, 14, 18, 0);
           });
    QTest::newRow("unknown status before any level still reads dates")
        << kEnglish << u"SYSTEM STATUS,,9/14/2001 12:00,9/14/2001 18:00"_qs << none
        << with(none, [](GridStatus &s) {
               s.LevelStart = at(2001, 9, 14, 12, 0);
               s.LevelEnd = at(2001, 9, 14, 18, 0);
           });
    QTest::newRow("each level text")
        << kEnglish
        << u"SYSTEM STATUS,WARNING\nSYSTEM STATUS,STAGE 1\n"
           "SYSTEM STATUS,STAGE 2\nSYSTEM STATUS,STAGE 3"_qs
        << none << with(none, [](GridStatus &s) { s.Level = LevelStage3; });
    QTest::newRow("stage 1 alone") << kEnglish << u"SYSTEM STATUS,STAGE 1"_qs << none
                                   << with(none, [](GridStatus &s) { s.Level = LevelStage1; });
    QTest::newRow("load interruptions, columns 7 and 8 swapped")
        << kEnglish
        << u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS,9/14/2001 12:00,9/14/2001 18:00,"
           "100,200,300,400,500"_qs
        << old << with(old, [](GridStatus &s) {
               s.Level = LevelLoadInterruptions;
               s.LevelStart = at(2001, 9, 14, 12, 0);
               s.LevelEnd = at(2001, 9, 14, 18, 0);
               s.Interruption1 = 100;
               s.Interruption2 = 200;
               s.Interruption3 = 300;
               s.Interruption5 = 400;
               s.Interruption4 = 500;
           });
    QTest::newRow("load interruptions, missing and bad columns keep their fields")
        << kEnglish << u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS,,x,100,,300"_qs << old
        << with(old, [](GridStatus &s) {
               s.Level = LevelLoadInterruptions;
               s.Interruption1 = 100;
               s.Interruption3 = 300;
           });
    QTest::newRow("interruptions ignored below level 7")
        << kEnglish << u"SYSTEM STATUS,STAGE 3,,,100,200,300,400,500"_qs << old
        << with(old, [](GridStatus &s) { s.Level = LevelStage3; });
    QTest::newRow("kept level 7 still reads interruptions")
        << kEnglish << u"SYSTEM STATUS,???,,,1,2,3,4,5"_qs
        << with(old, [](GridStatus &s) { s.Level = LevelLoadInterruptions; })
        << with(old, [](GridStatus &s) {
               s.Level = LevelLoadInterruptions;
               s.Interruption1 = 1;
               s.Interruption2 = 2;
               s.Interruption3 = 3;
               s.Interruption5 = 4;
               s.Interruption4 = 5;
           });
    QTest::newRow("columns past 8 are ignored")
        << kEnglish << u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS,,,1,2,3,4,5,6,7"_qs << none
        << with(none, [](GridStatus &s) {
               s.Level = LevelLoadInterruptions;
               s.Interruption1 = 1;
               s.Interruption2 = 2;
               s.Interruption3 = 3;
               s.Interruption5 = 4;
               s.Interruption4 = 5;
           });

    QTest::newRow("available resources before actual demand")
        << kEnglish << u"AVAILABLE RESOURCES,35000\nACTUAL DEMAND,31000"_qs << old
        << with(old, [&](GridStatus &s) {
               s.AvailableResources = 35000;
               s.ReserveMargin = 35000 - old.ActualDemand;
               s.ActualDemand = 31000;
           });
    QTest::newRow("margin computed even when resources do not convert")
        << kEnglish << u"ACTUAL DEMAND,31000\nAVAILABLE RESOURCES,n/a"_qs << old
        << with(old, [&](GridStatus &s) {
               s.ActualDemand = 31000;
               s.ReserveMargin = old.AvailableResources - 31000;
           });
    QTest::newRow("missing column keeps only that field")
        << kEnglish << u"ACTUAL DEMAND,31000"_qs << old
        << with(old, [](GridStatus &s) { s.ActualDemand = 31000; });
    QTest::newRow("bad number keeps only that field")
        << kEnglish << u"ACTUAL DEMAND,--,9/14/2001 14:25"_qs << old
        << with(old, [](GridStatus &s) { s.ActualDemandTime = at(2001, 9, 14, 14, 25); });
    QTest::newRow("bad date keeps only that field")
        << kEnglish << u"ACTUAL DEMAND, 31000 ,2/30/2001"_qs << old
        << with(old, [](GridStatus &s) { s.ActualDemand = 31000; });
    QTest::newRow("keyword without comma is skipped")
        << kEnglish << u"ACTUAL DEMAND\nPEAK DEMAND TODAY 32000"_qs << old << old;
    QTest::newRow("keyword must match in full")
        << kEnglish << u"PEAK DEMAND TODAY X,1\nPEAK DEMAND,2\nACTUAL DEMAND NOW,3"_qs << old
        << old;
    QTest::newRow("forecast peak is not peak demand")
        << kEnglish << u"FORECAST PEAK DEMAND TODAY,33333\nFORECAST PEAK DEMAND TOMORROW,34444"_qs
        << old << with(old, [](GridStatus &s) {
               s.ForecastPeakToday = 33333;
               s.ForecastPeakTomorrow = 34444;
           });
    QTest::newRow("same keyword twice, later wins")
        << kEnglish << u"PEAK DEMAND TODAY,32000\nPEAK DEMAND TODAY,32500"_qs << old
        << with(old, [](GridStatus &s) { s.PeakDemandToday = 32500; });
    QTest::newRow("later row that does not convert keeps the earlier value")
        << kEnglish << u"PEAK DEMAND TODAY,32000\nPEAK DEMAND TODAY,x"_qs << old
        << with(old, [](GridStatus &s) { s.PeakDemandToday = 32000; });

    QTest::newRow("several notice rows, last decides")
        << kEnglish
        << u"48 HOUR FORECAST NOTICE,A,9/15/2001 12:00,9/15/2001 20:00\n"
           "1 HOUR FORECAST NOTICE,B,9/14/2001 15:00,9/14/2001 16:00,1500\n"
           "24 HOUR FORECAST NOTICE,C,9/16/2001 13:00,9/16/2001 19:00,999"_qs
        << old << with(old, [](GridStatus &s) {
               s.NoticeStart = at(2001, 9, 16, 13, 0);
               s.NoticeEnd = at(2001, 9, 16, 19, 0);
               s.NoticeValue = 1500;
           });
    QTest::newRow("notice value only from the 1-hour row")
        << kEnglish << u"48 HOUR FORECAST NOTICE,A,9/15/2001 12:00,9/15/2001 20:00,999"_qs << old
        << with(old, [](GridStatus &s) {
               s.NoticeStart = at(2001, 9, 15, 12, 0);
               s.NoticeEnd = at(2001, 9, 15, 20, 0);
           });

    QTest::newRow("produced, en") << kEnglish << u"PRODUCED,Sat Sep 15 00:00:59 PDT 2001"_qs << old
                                  << with(old, [](GridStatus &s) {
                                         s.Produced = at(2001, 9, 15, 0, 0, 59);
                                     });
    QTest::newRow("produced, de") << kGerman << u"PRODUCED,Mon Dec 31 23:59:59 PST 2001"_qs << old
                                  << with(old, [](GridStatus &s) {
                                         s.Produced = at(2001, 12, 31, 23, 59, 59);
                                     });
    QTest::newRow("produced, long zone text")
        << kEnglish << u"PRODUCED,Fri Sep 14 14:30:05 Pacific Daylight Time 2001"_qs << none
        << with(none, [](GridStatus &s) { s.Produced = at(2001, 9, 14, 14, 30, 5); });
    QTest::newRow("produced, no zone text")
        << kEnglish << u"PRODUCED,Fri Sep 14 14:30:05 2001"_qs << none
        << with(none, [](GridStatus &s) { s.Produced = at(2001, 9, 14, 14, 30, 5); });
    QTest::newRow("produced, too short")
        << kEnglish << u"PRODUCED,Fri Sep 14 14:30 2001"_qs << old << old;
    QTest::newRow("produced, far too short") << kEnglish << u"PRODUCED,Sep"_qs << old << old;
    QTest::newRow("produced, other layout")
        << kEnglish << u"PRODUCED,9/14/2001 14:30:05 PDT"_qs << old << old;
    QTest::newRow("produced, invalid day")
        << kEnglish << u"PRODUCED,Fri Feb 30 14:30:05 PDT 2001"_qs << old << old;
}

void TestStatusCsvReader::reads()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(GridStatus, previous);
    QFETCH(GridStatus, expected);
    QCOMPARE(ReadStatusCsv(text, previous, QLocale(locale)), expected);
}

void TestStatusCsvReader::lineEndsDoNotMatter()
{
    QString windows = kFullFile;
    windows.replace(u"\n"_qs, u"\r\n"_qs);
    const QLocale english(kEnglish);
    QCOMPARE(ReadStatusCsv(windows, {}, english), fullFileResult());
    QString noFinalBreak = kFullFile;
    noFinalBreak.chop(1);
    QCOMPARE(ReadStatusCsv(noFinalBreak, {}, english), fullFileResult());
    QString lone = kFullFile;
    lone.replace(u"\n"_qs, u"\r"_qs);
    QCOMPARE(ReadStatusCsv(lone, {}, english).ActualDemand, 0.0);
}

void TestStatusCsvReader::hostileInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<GridStatus>("expected");

    constexpr qsizetype kMiB = 1024 * 1024;
    const GridStatus old = earlier();
    const QString goodLine = u"\nACTUAL DEMAND,31000\n"_qs;
    const GridStatus afterGoodLine = with(old, [](GridStatus &s) { s.ActualDemand = 31000; });

    QTest::newRow("megabytes of commas")
        << u"SYSTEM STATUS"_qs + QString(4 * kMiB, u',') + goodLine << afterGoodLine;
    QTest::newRow("megabytes of commas after a status")
        << u"SYSTEM STATUS,STAGE 3 LOAD INTERRUPTIONS"_qs + QString(4 * kMiB, u',')
        << with(old, [](GridStatus &s) { s.Level = LevelLoadInterruptions; });
    QTest::newRow("megabytes of angle brackets")
        << u"ACTUAL DEMAND,"_qs + QString(4 * kMiB, u'<') + goodLine << afterGoodLine;
    QTest::newRow("megabytes of line feeds")
        << QString(4 * kMiB, u'\n') + goodLine << afterGoodLine;
    QTest::newRow("extremely long value")
        << u"PEAK DEMAND TODAY,32000,"_qs + QString(8 * kMiB, u'9') + goodLine
        << with(afterGoodLine, [](GridStatus &s) { s.PeakDemandToday = 32000; });
    QTest::newRow("extremely long produced text")
        << u"PRODUCED,Fri Sep 14 14:30:05 "_qs + QString(2 * kMiB, u'x') + u" 2001"_qs
        << with(old, [](GridStatus &s) { s.Produced = at(2001, 9, 14, 14, 30, 5); });

    QByteArray binary(2 * kMiB, '\0');
    QRandomGenerator random(20010914);
    for (char &byte : binary)
        byte = static_cast<char>(random.bounded(256));
    QTest::newRow("binary bytes as invalid UTF-8")
        << QString::fromUtf8(binary) + goodLine << afterGoodLine;
    QTest::newRow("binary bytes as Latin-1")
        << QString::fromLatin1(binary) + goodLine << afterGoodLine;
    QTest::newRow("replacement characters in every column")
        << QString(u"SYSTEM STATUS,\uFFFD,\uFFFD,\uFFFD,\uFFFD\n"_qs).repeated(64 * 1024) + goodLine
        << afterGoodLine;
}

void TestStatusCsvReader::hostileInput()
{
    QFETCH(QString, text);
    QFETCH(GridStatus, expected);
    QCOMPARE(ReadStatusCsv(text, earlier(), QLocale(kEnglish)), expected);
}

QTEST_GUILESS_MAIN(TestStatusCsvReader)
#include "test_status_csv_reader.moc"

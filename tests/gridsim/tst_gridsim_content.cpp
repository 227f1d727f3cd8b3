#include "gridsim/grid_sim.h"
#include "gridsim/load_picture.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;

namespace {

const QDateTime kAfternoon(QDate(2001, 8, 13), QTime(14, 25, 3));
const QStringList kSeries{u"Day-Ahead Demand Forecast"_qs, u"Hour-Ahead Demand Forecast"_qs,
                          u"Actual Demand"_qs, u"Available Resources"_qs};

QString Text(const GridSim &sim, QStringView path)
{
    return QString::fromLatin1(sim.resource(path)->body);
}

// Rows of the status file by keyword, split as the reader splits them.
QHash<QString, QStringList> CsvRows(const QString &csv)
{
    QHash<QString, QStringList> rows;
    for (const QString &line : csv.split(u"\r\n"_qs, Qt::SkipEmptyParts)) {
        const QStringList columns = line.split(u',');
        rows.insert(columns.first(), columns);
    }
    return rows;
}

bool IsWholeNumber(const QString &text)
{
    static const QRegularExpression number(u"^[0-9]+$"_qs);
    return number.match(text).hasMatch();
}

// The text between the first "<pre>" after `heading` and the next "</pre>".
std::optional<QString> PreAfter(const QString &page, const QString &heading)
{
    const qsizetype at = page.indexOf(heading);
    const qsizetype open = at < 0 ? -1 : page.indexOf(u"<pre>"_qs, at);
    const qsizetype close = open < 0 ? -1 : page.indexOf(u"</pre>"_qs, open + 5);
    if (close < 0)
        return std::nullopt;
    return page.mid(open + 5, close - open - 5);
}

QString StatusTable(const QString &page)
{
    const qsizetype open = page.indexOf(u"<TABLE"_qs, page.indexOf(u"ISO System Status"_qs));
    const qsizetype close = page.indexOf(u"</TABLE>"_qs, open);
    return open < 0 || close < 0 ? QString() : page.mid(open, close - open);
}

// The twelve cell texts after each row key, table after table, with the one
// forward-moving cursor the outlook reader uses. Empty when a key is missing.
QList<QStringList> OutlookCells(const QString &page)
{
    static const QRegularExpression tag(u"<[^>]*>"_qs);
    QList<QStringList> rows;
    qsizetype cursor = 0;
    for (int table = 0; table < 2; ++table) {
        for (const QString &key : kSeries) {
            cursor = page.indexOf(key, cursor);
            if (cursor < 0)
                return {};
            QStringList cells;
            for (int k = 0; k < 12; ++k) {
                const qsizetype open = page.indexOf(u"<td"_qs, cursor);
                const qsizetype close = page.indexOf(u"</td>"_qs, open);
                if (open < 0 || close < 0)
                    return {};
                cells << page.mid(open, close - open).remove(tag).trimmed();
                cursor = close + 5;
            }
            rows << cells;
        }
    }
    return rows;
}

} // namespace

class TestGridSimContent : public QObject
{
    Q_OBJECT

private:
    GridSim m_sim;

    void walkTo(int step)
    {
        m_sim.setScenario(ScenarioKind::Walk);
        for (int i = 0; i < step; ++i)
            m_sim.advance();
    }

private Q_SLOTS:
    void init()
    {
        m_sim.setClock([] { return kAfternoon; });
        m_sim.setScenario(ScenarioKind::Normal);
    }

    void producedStampHasTheFixedLayout()
    {
        const QString produced =
            CsvRows(Text(m_sim, kStatusCsvPath)).value(u"PRODUCED"_qs).value(1);
        QVERIFY2(produced.startsWith(u"Mon Aug 13 14:25:03 "), qPrintable(produced));
        QVERIFY(produced.endsWith(u" 2001"));
        QVERIFY(!produced.mid(20, produced.size() - 25).contains(u' '));
        // The reader's cut: month and day, year, time.
        const QString cut = produced.mid(4, 7) + produced.right(4) + produced.mid(10, 9);
        QCOMPARE(QLocale::c().toDateTime(cut, u"MMM dd yyyy HH:mm:ss"_qs), kAfternoon);
    }

    void statusFile_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("noticeRow");
        const QStringList levels{u"NORMAL"_qs,
                                 u"ALERT"_qs,
                                 u"WARNING"_qs,
                                 u"STAGE 1"_qs,
                                 u"STAGE 2"_qs,
                                 u"STAGE 3"_qs,
                                 u"STAGE 3 LOAD INTERRUPTIONS"_qs,
                                 u"NORMAL"_qs};
        const QStringList notices{QString(),
                                  u"48 HOUR FORECAST NOTICE"_qs,
                                  u"48 HOUR FORECAST NOTICE"_qs,
                                  u"24 HOUR FORECAST NOTICE"_qs,
                                  u"24 HOUR FORECAST NOTICE"_qs,
                                  u"1 HOUR FORECAST NOTICE"_qs,
                                  u"1 HOUR FORECAST NOTICE"_qs,
                                  QString()};
        for (int step = 0; step < 8; ++step)
            QTest::addRow("step %d", step) << step << levels[step] << notices[step];
    }

    void statusFile()
    {
        QFETCH(int, step);
        QFETCH(QString, status);
        QFETCH(QString, noticeRow);
        walkTo(step);
        const QString csv = Text(m_sim, kStatusCsvPath);
        QVERIFY(csv.endsWith(u"\r\n"));
        QVERIFY(!csv.contains(QRegularExpression(u"[^\r]\n"_qs)));
        const auto rows = CsvRows(csv);

        const QStringList demand = rows.value(u"ACTUAL DEMAND"_qs);
        const QStringList resources = rows.value(u"AVAILABLE RESOURCES"_qs);
        QCOMPARE(demand.size(), 3);
        QCOMPARE(resources.size(), 3);
        QVERIFY(IsWholeNumber(demand[1]));
        QVERIFY(IsWholeNumber(resources[1]));
        QCOMPARE(demand[2], u"08/13/2001 14:25"_qs);
        QVERIFY(demand[1].toInt() > 30000 && demand[1].toInt() < 50000);
        if (status == u"STAGE 3 LOAD INTERRUPTIONS")
            QVERIFY(resources[1].toInt() < demand[1].toInt());
        else
            QVERIFY(resources[1].toInt() > demand[1].toInt());
        for (const QString &keyword : {u"PEAK DEMAND TODAY"_qs, u"FORECAST PEAK DEMAND TODAY"_qs,
                                       u"FORECAST PEAK DEMAND TOMORROW"_qs}) {
            QCOMPARE(rows.value(keyword).size(), 2);
            QVERIFY2(IsWholeNumber(rows.value(keyword)[1]), qPrintable(keyword));
        }
        QVERIFY(rows.value(u"PEAK DEMAND TODAY"_qs)[1].toInt() >= demand[1].toInt());

        const QStringList system = rows.value(u"SYSTEM STATUS"_qs);
        QCOMPARE(system.size(), 9);
        QCOMPARE(system[1], status);
        const bool normal = status == u"NORMAL";
        QCOMPARE(system[2].isEmpty(), normal);
        QCOMPARE(system[3].isEmpty(), normal);
        if (!normal)
            QCOMPARE(system[2], u"08/13/2001 14:00"_qs);
        const bool interrupting = status == u"STAGE 3 LOAD INTERRUPTIONS";
        for (int column = 4; column <= 8; ++column)
            QCOMPARE(IsWholeNumber(system[column]), interrupting);

        const QStringList notice = rows.value(noticeRow);
        int noticeRows = 0;
        for (const QString &keyword : rows.keys())
            noticeRows += keyword.endsWith(u"FORECAST NOTICE") ? 1 : 0;
        QCOMPARE(noticeRows, noticeRow.isEmpty() ? 0 : 1);
        if (!noticeRow.isEmpty()) {
            const bool oneHour = noticeRow.startsWith(u"1 ");
            QCOMPARE(notice.size(), oneHour ? 5 : 4);
            QVERIFY(!notice[1].isEmpty());
            QVERIFY(QLocale::c().toDateTime(notice[2], u"MM/dd/yyyy HH:mm"_qs).isValid());
            QVERIFY(QLocale::c().toDateTime(notice[3], u"MM/dd/yyyy HH:mm"_qs) >
                    QLocale::c().toDateTime(notice[2], u"MM/dd/yyyy HH:mm"_qs));
            if (oneHour)
                QVERIFY(IsWholeNumber(notice[4]));
        }
        if (interrupting) {
            int sum = 0;
            for (int column = 4; column <= 8; ++column)
                sum += system[column].toInt();
            QCOMPARE(notice[4].toInt(), sum);
        }
    }

    void statusPage_data() { statusFile_data(); }

    void statusPage()
    {
        QFETCH(int, step);
        QFETCH(QString, status);
        walkTo(step);
        const QString page = Text(m_sim, kStatusPagePath);

        QVERIFY(!StatusTable(page).isEmpty());
        const auto active = PreAfter(page, u"Current Active Notice(s)"_qs);
        const auto pending = PreAfter(page, u"Pending Notices"_qs);
        QVERIFY(active && pending);
        QVERIFY(page.indexOf(u"Current Active Notice(s)"_qs) > page.indexOf(u"</TABLE>"_qs));
        const bool normal = status == u"NORMAL";
        QCOMPARE(active->isEmpty(), normal);
        QVERIFY(!active->contains(u'<'));
        QVERIFY(!pending->contains(u'<'));
        if (status == u"STAGE 3 LOAD INTERRUPTIONS")
            QVERIFY(active->contains(u"PG&E"));
        QVERIFY(!page.contains(u"404 Not Found"));
    }

    void statusTableChangesWithTheLevelOnly()
    {
        m_sim.setScenario(ScenarioKind::Walk);
        QStringList tables;
        for (int step = 0; step < 7; ++step) {
            const QString table = StatusTable(Text(m_sim, kStatusPagePath));
            QVERIFY2(!tables.contains(table), qPrintable(table));
            tables << table;
            // Figures move with the clock; the table must not.
            m_sim.setClock([] { return kAfternoon.addSecs(600); });
            QCOMPARE(StatusTable(Text(m_sim, kStatusPagePath)), table);
            m_sim.setClock([] { return kAfternoon; });
            m_sim.advance();
        }

        m_sim.setScenario(ScenarioKind::Normal);
        const QString normal = StatusTable(Text(m_sim, kStatusPagePath));
        const QString csv = Text(m_sim, kStatusCsvPath);
        m_sim.advance();
        QCOMPARE(StatusTable(Text(m_sim, kStatusPagePath)), normal);
        QVERIFY2(Text(m_sim, kStatusCsvPath) != csv, "the normal scenario's figures drift");
    }

    void forecastPage_data() { statusFile_data(); }

    void forecastPage()
    {
        QFETCH(int, step);
        QFETCH(QString, noticeRow);
        walkTo(step);
        const QString page = Text(m_sim, kForecastPagePath);

        const auto body = PreAfter(page, u"Current Active Forecast(s)"_qs);
        QVERIFY(body);
        QCOMPARE(body->isEmpty(), noticeRow.isEmpty());
        if (!noticeRow.isEmpty())
            QVERIFY(body->startsWith(noticeRow));
    }

    void outlookPage_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("hoursDone");
        QTest::newRow("after midnight") << QTime(0, 30) << 0;
        QTest::newRow("afternoon") << QTime(14, 25, 3) << 14;
        QTest::newRow("last hour") << QTime(23, 59) << 23;
    }

    void outlookPage()
    {
        QFETCH(QTime, time);
        QFETCH(int, hoursDone);
        m_sim.setClock([time] { return QDateTime(kAfternoon.date(), time); });
        const QString page = Text(m_sim, kOutlookPagePath);

        for (const QString &key : kSeries)
            QCOMPARE(page.count(key), 2);
        const QList<QStringList> rows = OutlookCells(page);
        QCOMPARE(rows.size(), 8);
        static const QRegularExpression megawatts(u"^[0-9]{2},[0-9]{3}$"_qs);
        for (int table = 0; table < 2; ++table) {
            for (int k = 0; k < 12; ++k) {
                const int hourEnding = table * 12 + k + 1;
                for (int series = 0; series < 4; ++series) {
                    const QString cell = rows[table * 4 + series][k];
                    const bool hole = series == 2 && hourEnding > hoursDone;
                    QVERIFY2(
                        hole ? cell.isEmpty() : megawatts.match(cell).hasMatch(),
                        qPrintable(
                            u"%1 hour %2: '%3'"_qs.arg(kSeries[series]).arg(hourEnding).arg(cell)));
                }
                const auto mw = [&](int series) {
                    return QString(rows[table * 4 + series][k]).remove(u',').toInt();
                };
                QVERIFY(mw(0) >= 20000 && mw(0) <= 50000);
                QVERIFY(mw(3) > mw(0));
            }
        }
    }

    void loadPicture()
    {
        const QByteArray bytes = m_sim.resource(kLoadPicturePath)->body;
        QImage image;
        QVERIFY(image.loadFromData(bytes));
        QCOMPARE(image.size(), QSize(kLoadPictureWidth, kLoadPictureHeight));
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                coloured += c.saturation() > 100 ? 1 : 0;
            }
        }
        QVERIFY2(coloured > 300, "the chart has its curves");
    }

    void unknownPathHasNoResource()
    {
        QVERIFY(!m_sim.resource(u"/outlook/SP/other.html").has_value());
    }
};

QTEST_MAIN(TestGridSimContent)
#include "tst_gridsim_content.moc"

// Each program's --help and its manual page list the same options with the
// same value names, so that neither can change without the other; the same
// holds for the table of settings keys and the program's page.
#include "settings/setting_keys.h"
#include "support/files.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// "-s, --server <URL>" gives "-s" and "--server URL".
QStringList splitNames(QString column)
{
    column.remove(u'<').remove(u'>');
    QStringList names = column.split(u", "_qs, Qt::SkipEmptyParts);
    for (QString &name : names)
        name = name.simplified();
    return names;
}

QStringList helpOptions(const QString &program)
{
    QProcess process;
    process.start(program, {u"--help"_qs});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {u"(--help failed)"_qs};
    const QString help = QString::fromUtf8(process.readAllStandardOutput());
    const QString options = help.section(u"\nOptions:\n"_qs, 1).section(u"\n\n"_qs, 0, 0);
    // An option's line starts with two spaces and a dash; the description
    // follows after a gap of two spaces or more.
    static const QRegularExpression line(u"^  (-\\S.*?)(?:  |$)"_qs,
                                         QRegularExpression::MultilineOption);
    QStringList names;
    for (const auto &match : line.globalMatch(options))
        names += splitNames(match.captured(1));
    names.sort();
    return names;
}

// The first line of every tagged paragraph (.TP) of the OPTIONS section,
// its font macro's arguments joined as groff joins them.
QStringList pageOptions(const QString &path)
{
    const QStringList lines = QString::fromUtf8(voltwise::testing::ReadBytes(path)).split(u'\n');
    static const QRegularExpression argument(u"\"([^\"]*)\"|(\\S+)"_qs);
    QStringList names;
    bool inOptions = false;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith(u".SH"_qs))
            inOptions = lines[i] == u".SH OPTIONS"_qs;
        if (!inOptions || lines[i] != u".TP"_qs)
            continue;
        const QString tag = lines[i + 1];
        const bool alternating = tag.section(u' ', 0, 0).size() == 3; // .BR, .BI, .IR
        QStringList parts;
        for (const auto &match : argument.globalMatch(tag.section(u' ', 1)))
            parts += match.captured(1).isNull() ? match.captured(2) : match.captured(1);
        QString joined = parts.join(alternating ? QString() : u" "_qs);
        names += splitNames(joined.replace(u"\\-"_qs, u"-"_qs));
    }
    names.sort();
    return names;
}

} // namespace

class TestManualPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionsAgree_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("page");
        for (const char *name : {"voltwise", "voltwise-status", "voltwise-gridsim"})
            QTest::newRow(name)
                << QStringLiteral(VOLTWISE_PROGRAMS "/%1").arg(QLatin1String(name))
                << QStringLiteral(VOLTWISE_MAN_PAGES "/%1.1").arg(QLatin1String(name));
    }

    void optionsAgree()
    {
        QFETCH(QString, program);
        QFETCH(QString, page);
        const QStringList fromHelp = helpOptions(program);
        const QStringList fromPage = pageOptions(page);
        QVERIFY(fromHelp.contains(u"--version"_qs));
        QVERIFY2(
            fromPage == fromHelp,
            qPrintable(u"dist/man/%1.in lists %2; --help lists %3"_qs.arg(
                QFileInfo(page).fileName(), fromPage.join(u", "_qs), fromHelp.join(u", "_qs))));
    }

    void settingKeysAgree()
    {
        using namespace voltwise;
        const QString page =
            QString::fromUtf8(testing::ReadBytes(QStringLiteral(VOLTWISE_MAN_PAGES "/voltwise.1")));
        QVERIFY(page.contains(u".SH OPTIONS"_qs));
        for (const SettingKey *key : SettingKeys::All) {
            const QString bold = u".B [%1]"_qs.arg(key->section);
            QVERIFY2(page.contains(bold), qPrintable(bold));
            const QRegularExpression name(u"\\b%1\\b"_qs.arg(key->name));
            QVERIFY2(key->type == SettingType::Placement || page.contains(name),
                     qPrintable(name.pattern()));
        }
    }
};

QTEST_GUILESS_MAIN(TestManualPages)
#include "test_manual_pages.moc"

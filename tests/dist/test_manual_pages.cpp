// Each program's --help and its manual page name the same options, so that
// neither can change without the other; the same holds for the table of
// settings keys and the program's page.
#include "settings/setting_keys.h"
#include "support/files.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

// The options named at the start of each line ("-s, --server <URL>").
QStringList optionNames(const QStringList &lines)
{
    static const QRegularExpression name(u"(?:^|[\\s,\"])(--?[a-z][a-z-]*)"_qs);
    QStringList names;
    for (const QString &line : lines)
        for (const auto &match : name.globalMatch(line))
            names << match.captured(1);
    names.sort();
    return names;
}

QStringList helpOptions(const QString &program)
{
    QProcess process;
    process.start(program, {u"--help"_qs});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {u"(--help failed)"_qs};
    const QString help = QString::fromUtf8(process.readAllStandardOutput());
    QStringList tags; // the text before the description's gap of two spaces or more
    for (const QString &line :
         help.section(u"\nOptions:\n"_qs, 1).section(u"\n\n"_qs, 0, 0).split(u'\n'))
        if (line.startsWith(u"  -"_qs))
            tags << line.trimmed().split(QRegularExpression(u"\\s{2,}"_qs)).first();
    return optionNames(tags);
}

// The tag line after each .TP of the OPTIONS section.
QStringList pageOptions(const QString &path)
{
    const QStringList lines = QString::fromUtf8(voltwise::testing::ReadBytes(path)).split(u'\n');
    QStringList tags;
    bool inOptions = false;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith(u".SH"_qs))
            inOptions = lines[i] == u".SH OPTIONS"_qs;
        if (inOptions && lines[i] == u".TP"_qs)
            tags << lines[i + 1].section(u' ', 1).replace(u"\\-"_qs, u"-"_qs);
    }
    return optionNames(tags);
}

} // namespace

class TestManualPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionsAgree_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"voltwise", "voltwise-status", "voltwise-gridsim"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void optionsAgree()
    {
        QFETCH(QString, name);
        const QStringList fromHelp = helpOptions(QStringLiteral(VOLTWISE_PROGRAMS "/") + name);
        QVERIFY(fromHelp.contains(u"--version"_qs));
        QCOMPARE(pageOptions(QStringLiteral(VOLTWISE_MAN_PAGES "/%1.1").arg(name)), fromHelp);
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

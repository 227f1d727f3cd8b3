// Which translation the program loads: by the user's languages in order, from
// beside the program, its prefix's share/ or the XDG data directories; and,
// in a child process, by the environment a user sets.
#include "model/grid_status.h"
#include "platform/translations.h"
#include "status/condition_levels.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace voltwise;

class TestTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chosenFile_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QStringList>("files"); // under the temporary root
        QTest::addColumn<QString>("expected");  // empty: English

        const QString beside = u"bin/translations/voltwise_es.qm"_qs;
        const QStringList es{beside};
        QTest::newRow("es-US falls back to es")
            << QStringList{u"es-US"_qs, u"es"_qs} << es << beside;
        QTest::newRow("es_MX in the environment's spelling")
            << QStringList{u"es_MX"_qs} << es << beside;
        QTest::newRow("country file first")
            << QStringList{u"es-US"_qs}
            << QStringList{beside, u"bin/translations/voltwise_es_US.qm"_qs}
            << u"bin/translations/voltwise_es_US.qm"_qs;
        QTest::newRow("English first") << QStringList{u"en-US"_qs, u"es"_qs} << es << QString();
        QTest::newRow("English in the environment's spelling")
            << QStringList{u"en_GB"_qs, u"es"_qs} << es << QString();
        QTest::newRow("untranslated language skipped")
            << QStringList{u"fr-FR"_qs, u"es-MX"_qs} << es << beside;
        QTest::newRow("no translation") << QStringList{u"de-DE"_qs} << es << QString();
        QTest::newRow("C locale") << QStringList{u"C"_qs} << es << QString();
        QTest::newRow("prefix share")
            << QStringList{u"es"_qs}
            << QStringList{u"share/voltwise/translations/voltwise_es.qm"_qs}
            << u"share/voltwise/translations/voltwise_es.qm"_qs;
        QTest::newRow("XDG data directory")
            << QStringList{u"es"_qs} << QStringList{u"xdg/voltwise/translations/voltwise_es.qm"_qs}
            << u"xdg/voltwise/translations/voltwise_es.qm"_qs;
    }

    void chosenFile()
    {
        QFETCH(QStringList, languages);
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QDir(root.path()).mkpath(u"bin"_qs);
        for (const QString &file : files) {
            QVERIFY(QDir(root.path()).mkpath(QFileInfo(file).path()));
            QFile qm(root.filePath(file));
            QVERIFY(qm.open(QIODevice::WriteOnly));
        }
        const QString chosen =
            TranslationFile(languages, root.filePath(u"bin"_qs), {root.filePath(u"xdg"_qs)});
        QCOMPARE(chosen, expected.isEmpty() ? QString() : root.filePath(expected));
    }

    // The program's own start-up path: QLocale::system() and the built
    // translation beside this test, as the environment sets the language.
    void environmentChoosesTheLanguage_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("shown");
        const QString spanish = u"Sistema normal"_qs, english = u"System Normal"_qs;
        QTest::newRow("LANGUAGE list, English first")
            << QStringList{u"LANG=es_US.UTF-8"_qs, u"LANGUAGE=en_US:es"_qs} << english;
        QTest::newRow("LANGUAGE list, untranslated first")
            << QStringList{u"LANG=fr_FR.UTF-8"_qs, u"LANGUAGE=fr:es"_qs} << spanish;
    }

    void environmentChoosesTheLanguage()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, shown);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            env.remove(QString::fromLatin1(name));
        for (const QString &setting : environment)
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        env.insert(u"VOLTWISE_PRINT_CONDITION"_qs, u"1"_qs);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), shown);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("VOLTWISE_PRINT_CONDITION")) {
        InstallTranslations(QLocale::system());
        std::puts(qUtf8Printable(*ShownConditionText(LevelNormal)));
        return 0;
    }
    TestTranslations test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_translations.moc"

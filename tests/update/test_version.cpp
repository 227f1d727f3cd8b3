#include "update/version.h"

#include <QTest>

using namespace voltwise;

Q_DECLARE_METATYPE(std::optional<bool>)

class TestVersion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionString_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("expected");

        QTest::newRow("release") << 10 << 128 << u"2.1.10"_qs;
        QTest::newRow("release, revision 0") << 0 << 128 << u"2.1"_qs;
        QTest::newRow("beta before revision") << 3 << 4 << u"2.1b3"_qs;
        QTest::newRow("beta before revision 0") << 0 << 4 << u"2.1b0"_qs;
        QTest::newRow("beta after revision 0") << 0 << 20 << u"2.1.0b"_qs;
        QTest::newRow("lowest letter bit wins") << 3 << (2 | 4 | 8) << u"2.1a3"_qs;
        QTest::newRow("after-revision bit, no letter, revision 0") << 0 << 16 << u"2.1"_qs;
    }

    void versionString()
    {
        QFETCH(int, revision);
        QFETCH(int, stage);
        QFETCH(QString, expected);
        QCOMPARE(VersionString(2, 1, revision, stage), expected);
    }

    void runningVersionFollowsBuildStage()
    {
        const std::int32_t saved = BuildStage();
        SetBuildStage(StageBeta);
        QCOMPARE(VersionString(), VersionString(VOLTWISE_VERSION_MAJOR, VOLTWISE_VERSION_MINOR,
                                                VOLTWISE_VERSION_PATCH, StageBeta));
        SetBuildStage(saved);
    }

    void isNewerVersion_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("finalOnly");
        QTest::addColumn<std::optional<bool>>("expected"); // empty: cannot be read

        const std::optional<bool> yes = true, no = false, unreadable;
        // Ascending: every later text is newer than every earlier one. A stage
        // before the revision outranks the build number (2.0b12 < 2.0f10).
        const QStringList ascending = {u"1.9.99"_qs,  u"2.0d9"_qs,   u"2.0a1"_qs,   u"2.0a7"_qs,
                                       u"2.0b3"_qs,   u"2.0b12"_qs,  u"2.0f10"_qs,  u"2.0.10d"_qs,
                                       u"2.0.10a"_qs, u"2.0.10b"_qs, u"2.0.10f"_qs, u"2.0.10"_qs,
                                       u"2.0.11a"_qs, u"2.0.11"_qs,  u"2.1d0"_qs,   u"3.0"_qs};
        for (qsizetype i = 0; i < ascending.size(); ++i) {
            for (qsizetype j = i + 1; j < ascending.size(); ++j) {
                const QByteArray older = ascending[i].toLatin1(), newer = ascending[j].toLatin1();
                QTest::addRow("%s > %s", newer.data(), older.data())
                    << ascending[j] << ascending[i] << false << yes;
                QTest::addRow("%s < %s", older.data(), newer.data())
                    << ascending[i] << ascending[j] << false << no;
            }
        }
        QTest::newRow("identical") << u"2.0.10"_qs << u"2.0.10"_qs << false << no;
        QTest::newRow("letter last without revision") << u"2.1b"_qs << u"2.1b3"_qs << false << yes;
        QTest::newRow("final only, lettered candidate") << u"3.0b1"_qs << u"2.0"_qs << true << no;
        QTest::newRow("final only, release candidate") << u"3.0"_qs << u"2.0"_qs << true << yes;
        QTest::newRow("final only, lettered reference")
            << u"2.0.10"_qs << u"2.0.10b"_qs << true << yes;
        QTest::newRow("two-digit minor reads one digit")
            << u"2.10.1"_qs << u"2.1.1"_qs << false << no;
        QTest::newRow("upper-case letter is no stage")
            << u"2.0.10B"_qs << u"2.0.10"_qs << false << no;
        QTest::newRow("anything newer than empty") << u"0.0.1"_qs << QString() << false << yes;
        QTest::newRow("empty against empty") << QString() << QString() << false << no;
        QTest::newRow("largest revision") << u"2.0.32767"_qs << u"2.0.32766"_qs << false << yes;

        QTest::newRow("starts with a letter") << u"V2.1"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("reference starts with a blank")
            << u"2.1"_qs << u" 2.0"_qs << false << unreadable;
        QTest::newRow("minor is a letter") << u"2.x.1"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("revision out of range")
            << u"2.0.32768"_qs << u"2.0"_qs << false << unreadable;
        QTest::newRow("very long revision")
            << u"2.0."_qs + QString(100000, u'9') << u"2.0"_qs << false << unreadable;
        QTest::newRow("even when final only would refuse")
            << u"2.0b1"_qs << u"x"_qs << true << unreadable;
        QTest::newRow("non-ASCII digit") << u"\u0662.0"_qs << u"2.0"_qs << false << unreadable;
    }

    void isNewerVersion()
    {
        QFETCH(QString, candidate);
        QFETCH(QString, reference);
        QFETCH(bool, finalOnly);
        QFETCH(std::optional<bool>, expected);
        QCOMPARE(IsNewerVersion(candidate, reference, finalOnly), expected);
    }
};

QTEST_GUILESS_MAIN(TestVersion)
#include "test_version.moc"

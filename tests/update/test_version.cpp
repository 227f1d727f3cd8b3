#include "update/version.h"

#include <QTest>

using namespace voltwise;

class TestVersion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionString_data();
    void versionString();
    void runningVersionFollowsBuildStage();
    void isNewerVersion_data();
    void isNewerVersion();
    void orderIsStrict_data();
    void orderIsStrict();
};

void TestVersion::versionString_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("expected");

    QTest::newRow("release") << 2 << 0 << 10 << 128 << u"2.0.10"_qs;
    QTest::newRow("release, revision 0") << 2 << 0 << 0 << 128 << u"2.0"_qs;
    QTest::newRow("no bits at all") << 2 << 1 << 3 << 0 << u"2.1.3"_qs;
    QTest::newRow("beta before revision") << 2 << 1 << 3 << 4 << u"2.1b3"_qs;
    QTest::newRow("beta before revision 0") << 2 << 1 << 0 << 4 << u"2.1b0"_qs;
    QTest::newRow("beta after revision") << 2 << 1 << 3 << 20 << u"2.1.3b"_qs;
    QTest::newRow("beta after revision 0") << 2 << 1 << 0 << 20 << u"2.1.0b"_qs;
    QTest::newRow("development") << 1 << 9 << 12 << 1 << u"1.9d12"_qs;
    QTest::newRow("alpha after revision") << 3 << 0 << 1 << 18 << u"3.0.1a"_qs;
    QTest::newRow("final candidate") << 3 << 0 << 2 << 8 << u"3.0f2"_qs;
    QTest::newRow("lowest letter bit wins") << 2 << 1 << 3 << (2 | 4 | 8) << u"2.1a3"_qs;
    QTest::newRow("after-revision bit without letter") << 2 << 1 << 3 << 16 << u"2.1.3"_qs;
    QTest::newRow("after-revision bit, no letter, revision 0") << 2 << 1 << 0 << 16 << u"2.1"_qs;
}

void TestVersion::versionString()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(int, stage);
    QFETCH(QString, expected);
    QCOMPARE(VersionString(major, minor, revision, stage), expected);
}

void TestVersion::runningVersionFollowsBuildStage()
{
    const std::int32_t saved = BuildStage();
    SetBuildStage(StageRelease);
    QCOMPARE(VersionString(), u"2.0.10"_qs);
    SetBuildStage(StageBeta);
    QCOMPARE(VersionString(), u"2.0b10"_qs);
    SetBuildStage(saved);
}

void TestVersion::isNewerVersion_data()
{
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("finalOnly");
    QTest::addColumn<int>("expected"); // 1 newer, 0 not newer, -1 cannot be read

    QTest::newRow("minor decides") << u"2.1"_qs << u"2.0.10"_qs << false << 1;
    QTest::newRow("major decides") << u"3.0"_qs << u"2.9.99"_qs << false << 1;
    QTest::newRow("older major") << u"1.9.99"_qs << u"2.0"_qs << false << 0;
    QTest::newRow("older minor") << u"2.0.99"_qs << u"2.1"_qs << false << 0;
    QTest::newRow("identical") << u"2.0.10"_qs << u"2.0.10"_qs << false << 0;
    QTest::newRow("higher revision") << u"2.0.11"_qs << u"2.0.10"_qs << false << 1;
    QTest::newRow("lower revision") << u"2.0.9"_qs << u"2.0.10"_qs << false << 0;
    QTest::newRow("lettered build older than release")
        << u"2.0b12"_qs << u"2.0.10"_qs << false << 0;
    QTest::newRow("release newer than lettered build")
        << u"2.0.10"_qs << u"2.0b12"_qs << false << 1;
    QTest::newRow("stage before revision outranks build")
        << u"2.1b1"_qs << u"2.1a5"_qs << false << 1;
    QTest::newRow("lower stage before revision") << u"2.1a5"_qs << u"2.1b1"_qs << false << 0;
    QTest::newRow("same stage, higher build") << u"2.1b4"_qs << u"2.1b3"_qs << false << 1;
    QTest::newRow("letter after revision, revision outranks")
        << u"2.1.4a"_qs << u"2.1.3b"_qs << false << 1;
    QTest::newRow("letter after revision, lower revision")
        << u"2.1.3b"_qs << u"2.1.4a"_qs << false << 0;
    QTest::newRow("lettered next revision newer") << u"2.0.11b"_qs << u"2.0.10"_qs << false << 1;
    QTest::newRow("lettered same revision older") << u"2.0.10b"_qs << u"2.0.10"_qs << false << 0;
    QTest::newRow("release same revision newer") << u"2.0.10"_qs << u"2.0.10b"_qs << false << 1;
    QTest::newRow("older release than next lettered") << u"2.0.9"_qs << u"2.0.10b"_qs << false << 0;
    QTest::newRow("stages after revision ordered") << u"2.0.10f"_qs << u"2.0.10d"_qs << false << 1;
    QTest::newRow("after revision ranks above before") << u"2.0.3d"_qs << u"2.0f3"_qs << false << 1;
    QTest::newRow("letter last without revision") << u"2.1b"_qs << u"2.1b3"_qs << false << 1;
    QTest::newRow("final only, lettered candidate") << u"3.0b1"_qs << u"2.0.10"_qs << true << 0;
    QTest::newRow("final only, release candidate") << u"3.0"_qs << u"2.0.10"_qs << true << 1;
    QTest::newRow("final only, lettered reference") << u"2.0.10"_qs << u"2.0.10b"_qs << true << 1;
    QTest::newRow("two-digit minor reads one digit") << u"2.10.1"_qs << u"2.1"_qs << false << 0;
    QTest::newRow("two-digit minor is not newer than 2.1.1")
        << u"2.10.1"_qs << u"2.1.1"_qs << false << 0;
    QTest::newRow("upper-case letter is no stage") << u"2.0.10B"_qs << u"2.0.10"_qs << false << 0;
    QTest::newRow("anything newer than empty") << u"0.0.1"_qs << QString() << false << 1;
    QTest::newRow("major only against empty") << u"1"_qs << QString() << false << 1;
    QTest::newRow("empty newer than nothing") << QString() << u"0"_qs << false << 0;
    QTest::newRow("empty against empty") << QString() << QString() << false << 0;
    QTest::newRow("largest revision") << u"2.0.32767"_qs << u"2.0.32766"_qs << false << 1;

    QTest::newRow("candidate starts with a letter")
        << u"Version=2.1"_qs << u"2.0.10"_qs << false << -1;
    QTest::newRow("reference starts with a blank") << u"2.1"_qs << u" 2.0"_qs << false << -1;
    QTest::newRow("minor is a letter") << u"2.x.1"_qs << u"2.0.10"_qs << false << -1;
    QTest::newRow("minor is a blank") << u"2. "_qs << u"2.0.10"_qs << false << -1;
    QTest::newRow("revision out of range") << u"2.0.32768"_qs << u"2.0.10"_qs << false << -1;
    QTest::newRow("very long revision")
        << u"2.0."_qs + QString(100000, u'9') << u"2.0.10"_qs << false << -1;
    QTest::newRow("fails even when final only would refuse")
        << u"2.0b1"_qs << u"x"_qs << true << -1;
    QTest::newRow("non-ASCII digit") << u"\u0662.0"_qs << u"2.0"_qs << false << -1;
}

void TestVersion::isNewerVersion()
{
    QFETCH(QString, candidate);
    QFETCH(QString, reference);
    QFETCH(bool, finalOnly);
    QFETCH(int, expected);

    const std::optional<bool> result = IsNewerVersion(candidate, reference, finalOnly);
    QCOMPARE(result.has_value(), expected >= 0);
    if (result)
        QCOMPARE(*result, expected == 1);
}

void TestVersion::orderIsStrict_data()
{
    QTest::addColumn<QString>("older");
    QTest::addColumn<QString>("newer");

    // Ascending: every later text is newer than every earlier one.
    const QStringList ascending = {u"2.0d9"_qs,   u"2.0a1"_qs,   u"2.0a7"_qs,   u"2.0b3"_qs,
                                   u"2.0f1"_qs,   u"2.0.10d"_qs, u"2.0.10a"_qs, u"2.0.10b"_qs,
                                   u"2.0.10f"_qs, u"2.0.10"_qs,  u"2.0.11a"_qs, u"2.0.11"_qs,
                                   u"2.1d0"_qs,   u"3.0"_qs};
    for (qsizetype i = 0; i < ascending.size(); ++i)
        for (qsizetype j = i + 1; j < ascending.size(); ++j)
            QTest::addRow("%s < %s", qPrintable(ascending[i]), qPrintable(ascending[j]))
                << ascending[i] << ascending[j];
}

void TestVersion::orderIsStrict()
{
    QFETCH(QString, older);
    QFETCH(QString, newer);
    QCOMPARE(IsNewerVersion(newer, older, false), std::optional(true));
    QCOMPARE(IsNewerVersion(older, newer, false), std::optional(false));
}

QTEST_GUILESS_MAIN(TestVersion)
#include "test_version.moc"

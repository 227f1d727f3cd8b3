// voltwise-status --check-update against the in-process simulator.
#include "support/sim_fixture.h"
#include "update/version.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace voltwise;
using namespace voltwise::gridsim;
using namespace voltwise::testing;

class TestStatusToolUpdate : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<GridSim> m_sim;
    QTemporaryDir m_config;

    QString settingsFile() const { return m_config.filePath(u"Ternwood/Voltwise.conf"_qs); }

    // Exit code and standard output; -1 when the tool did not end normally.
    std::pair<int, QByteArray> run(const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LC_ALL"_qs, u"en_US.UTF-8"_qs);
        env.insert(u"XDG_CONFIG_HOME"_qs, m_config.path());
        env.insert(u"XDG_CONFIG_DIRS"_qs, m_config.filePath(u"system"_qs));
        QProcess tool;
        tool.setProcessEnvironment(env);
        QSignalSpy finished(&tool, &QProcess::finished);
        tool.start(QStringLiteral(VOLTWISE_STATUS_TOOL), arguments);
        if (!tool.waitForStarted(10000) || (finished.isEmpty() && !finished.wait(60000)) ||
            tool.exitStatus() != QProcess::NormalExit)
            return {-1, {}};
        return {tool.exitCode(), tool.readAllStandardOutput()};
    }

private Q_SLOTS:
    void init()
    {
        m_sim = StartSim();
        QVERIFY(m_sim);
    }

    void json_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<QString>("skip");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<int>("exitCode");

        const QString running = VersionString();
        QTest::newRow("offer") << u"9.0"_qs << QString() << u"none"_qs << u"offer"_qs << 0;
        QTest::newRow("offer; an overtaken skip stays stored")
            << u"9.0"_qs << u"1.0"_qs << u"none"_qs << u"offer"_qs << 0;
        QTest::newRow("up to date") << running << QString() << u"none"_qs << u"upToDate"_qs << 0;
        QTest::newRow("skipped release")
            << u"9.0"_qs << u"9.0"_qs << u"none"_qs << u"upToDate"_qs << 0;
        QTest::newRow("pre-release")
            << u"1.0"_qs << QString() << u"none"_qs << u"preRelease"_qs << 0;
        QTest::newRow("no descriptor")
            << u"9.0"_qs << QString() << u"status:404"_qs << u"none"_qs << 1;
    }

    void json()
    {
        QFETCH(QString, release);
        QFETCH(QString, skip);
        QFETCH(QString, fault);
        QFETCH(QString, outcome);
        QVERIFY(m_sim->setReleaseVersion(release));
        m_sim->setFault(kUpdateDescriptorFilePath, *ParseFault(fault));
        QByteArray settings = "[Servers]\nMaker=" + m_sim->baseUrl().toEncoded() + '\n';
        if (!skip.isEmpty())
            settings += "[Settings]\nSkipVersion=" + skip.toUtf8() + '\n';
        QVERIFY(QDir().mkpath(m_config.filePath(u"Ternwood"_qs)));
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(settings) == settings.size());
        file.close();

        const auto [exitCode, out] = run({u"--check-update"_qs, u"--json"_qs});

        QTEST(exitCode, "exitCode");
        const QJsonObject update = QJsonDocument::fromJson(out).object()[u"update"].toObject();
        const bool offer = outcome == u"offer", read = outcome != u"none", box = read && !offer;
        const auto either = [](bool present, const QString &text) {
            return present ? QJsonValue(text) : QJsonValue();
        };
        const QString base = m_sim->baseUrl().toString(), running = VersionString();
        const QJsonObject expected{
            {u"outcome"_qs, outcome},
            {u"releaseVersion"_qs, either(read, release)},
            {u"releaseDate"_qs, either(read, u"2024-07-15"_qs)},
            {u"downloadUrl"_qs, either(read, base + kDownloadPagePath.toString())},
            {u"changeLogUrl"_qs, either(read, base + kChangeLogPath.toString())},
            {u"releaseNotes"_qs, either(offer, QString::fromUtf8(WriteChangeLog(release)))},
            {u"title"_qs, either(offer, u"A new version of Voltwise is available!"_qs)},
            {u"message"_qs,
             either(offer, u"Voltwise 9.0 is now available - you have %1. Would "
                           "you like to download the new version now?"_qs.arg(running))},
            {u"messageCaption"_qs,
             either(box, outcome == u"upToDate" ? u"You're up to date!"_qs
                                                : u"You're running a pre-relase version!"_qs)},
            {u"messageText"_qs,
             either(box, u"Voltwise "_qs + running +
                             (outcome == u"upToDate"
                                  ? u" is currently the newest version available."_qs
                                  : u" is actually *newer* than the current offical release."_qs))},
        };
        QCOMPARE(update, expected);
        QCOMPARE(m_sim->requestCount(kChangeLogPath), offer ? 1 : 0);
        QFile after(settingsFile());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), settings);
    }

    void oneLineAndUsage()
    {
        const auto [exitCode, out] =
            run({u"--check-update"_qs, u"--server"_qs, m_sim->baseUrl().toString()});
        QCOMPARE(exitCode, 0);
        QCOMPARE(out, "You're up to date! Voltwise " + VersionString().toUtf8() +
                          " is currently the newest version available.\n");
        QCOMPARE(run({u"--check-update"_qs, u"--refreshes"_qs, u"2"_qs}).first, 2);
        QCOMPARE(m_sim->requestCount(kStatusCsvPath), 0);
    }
};

QTEST_GUILESS_MAIN(TestStatusToolUpdate)
#include "test_status_tool_update.moc"

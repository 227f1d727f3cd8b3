#include "platform/single_instance.h"
#include "support/files.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// Each probe, this program run with a runtime folder, is an instance: "primary" (then
// "activated" per hand-over) or "handed over".
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A killed instance leaves its lock and socket files behind: the next start
    // is the primary all the same, and a later one hands over to it.
    void secondStartHandsOverEvenAfterACrash()
    {
        auto crashed = start();
        QVERIFY(crashed->waitForReadyRead(30000));
        crashed->kill();
        QVERIFY(crashed->waitForFinished(30000));
        auto first = start();
        QVERIFY(first->waitForReadyRead(30000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("primary"));
        auto second = start();
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(second->readAllStandardOutput().trimmed(), QByteArray("handed over"));
        QTRY_VERIFY_WITH_TIMEOUT(first->canReadLine() || first->waitForReadyRead(100), 30000);
        QCOMPARE(first->readLine().trimmed(), QByteArray("activated"));
        first->kill();
        first->waitForFinished();
    }

    // Without $XDG_RUNTIME_DIR the lock lives in the user's cache, in a
    // folder of the user's own: what another user prepared is refused.
    void runtimeFolderWithoutXdg_data()
    {
        QTest::addColumn<QString>("prepared");
        QTest::addColumn<bool>("used");
        QTest::newRow("nothing there") << QString() << true;
        QTest::newRow("open to all") << u"mode 0777"_qs << true;
        QTest::newRow("a link elsewhere") << u"link"_qs << false;
        QTest::newRow("another user's") << u"owner"_qs << false;
    }

    void runtimeFolderWithoutXdg()
    {
        QFETCH(QString, prepared);
        QFETCH(bool, used);
        if (prepared == u"owner" && ::geteuid() != 0)
            QSKIP("only root can give a folder to another user");
        const QTemporaryDir home;
        const QString cache = home.filePath(u"cache"_qs);
        const QString folder = cache + u"/voltwise"_qs;
        const QByteArray name = QFile::encodeName(folder);
        QVERIFY(QDir().mkpath(cache));
        if (prepared == u"link")
            QVERIFY(QFile::link(home.path(), folder));
        else if (!prepared.isEmpty())
            QVERIFY(::mkdir(name.constData(), 0777) == 0 && ::chmod(name.constData(), 0777) == 0);
        if (prepared == u"owner")
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", runtime);
            qputenv("XDG_CACHE_HOME", cacheHome);
        });
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));

        const QString chosen = voltwise::SingleInstance::defaultRuntimeDirectory();

        QCOMPARE(chosen, used ? folder : QString());
        struct stat info = {};
        QCOMPARE(::lstat(name.constData(), &info), 0);
        if (used)
            QCOMPARE(info.st_mode & 07777, 0700u);
    }

    // A lock file of another user is never waited on, nor removed.
    void anotherUsersLockIsLeftAlone()
    {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        const QString lock = m_runtime.filePath(u"probe.lock"_qs);
        QVERIFY(voltwise::testing::WriteBytes(lock, "12345\nvoltwise\nhost\n"));
        QCOMPARE(::chown(QFile::encodeName(lock).constData(), 65534, 65534), 0);
        auto first = start();
        QVERIFY(first->waitForReadyRead(3000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("primary"));
        first->kill();
        first->waitForFinished();
        struct stat info = {};
        QCOMPARE(::lstat(QFile::encodeName(lock).constData(), &info), 0);
        QCOMPARE(info.st_uid, 65534u);
    }

private:
    std::unique_ptr<QProcess> start()
    {
        auto process = std::make_unique<QProcess>();
        process->start(QCoreApplication::applicationFilePath(), {u"-probe"_qs, m_runtime.path()});
        return process;
    }

    QTemporaryDir m_runtime;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) != u"-probe") {
        TestSingleInstance test;
        return QTest::qExec(&test, argc, argv);
    }
    voltwise::SingleInstance instance(app.arguments().value(2), u"probe"_qs);
    if (!instance.tryBecomePrimary()) {
        const bool ok = instance.activatePrimary();
        std::puts(ok ? "handed over" : "hand-over failed");
        return ok ? 0 : 1;
    }
    const auto say = [](const char *line) {
        std::puts(line);
        std::fflush(stdout);
    };
    say("primary");
    QObject::connect(&instance, &voltwise::SingleInstance::activationRequested, &app,
                     [&] { say("activated"); });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit); // should the test not end it
    return app.exec();
}
#include "test_single_instance.moc"

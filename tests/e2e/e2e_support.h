#pragma once

#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace voltwise::testing {

// Waits are long: on a loaded machine a panel alone can take many seconds.
inline constexpr int kLongWait = 60000;

// Polls every quarter second (each poll may start a program).
inline bool Poll(const std::function<bool()> &done, int milliseconds = kLongWait)
{
    for (QDeadlineTimer deadline(milliseconds); !deadline.hasExpired(); QTest::qWait(250))
        if (done())
            return true;
    return done();
}

// The simulated grid operator walking through the levels on a free port;
// its address, or an empty one when it did not start.
inline QUrl StartSimulator(QProcess &sim)
{
    sim.start(QStringLiteral(VOLTWISE_GRIDSIM),
              {u"--port"_qs, u"0"_qs, u"--scenario"_qs, u"walk"_qs});
    if (!sim.waitForStarted() ||
        !Poll([&] { return sim.canReadLine() || sim.waitForReadyRead(100); }))
        return {};
    const QByteArray line = sim.readLine().trimmed();
    return line.startsWith("listening on ") ? QUrl(QString::fromLatin1(line.mid(13))) : QUrl();
}

// Asks the simulator to act: "/_sim/advance", "/_sim/reset".
inline bool ControlSimulator(QUrl sim, const QString &path)
{
    QNetworkAccessManager network;
    sim.setPath(path);
    std::unique_ptr<QNetworkReply> reply(network.post(QNetworkRequest(sim), QByteArray()));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    return (reply->isFinished() || finished.wait(kLongWait)) &&
           reply->error() == QNetworkReply::NoError;
}

// The program's settings file, every server the simulator, a refresh every
// minute, and `values` ("Section/Key", value) besides.
inline void WriteConfiguration(const QString &file, const QUrl &sim,
                               const QList<std::pair<QString, QString>> &values)
{
    QSettings settings(file, QSettings::IniFormat);
    for (const char *key : {"GridMain", "GridContent", "FlexAlerts", "Maker"})
        settings.setValue(u"Servers/"_qs + QLatin1String(key), sim.toString());
    settings.setValue(u"Settings/UpdateInterval"_qs, u"1"_qs);
    for (const auto &[key, value] : values)
        settings.setValue(key, value);
}

// The standard output of a tool run to its end in the given environment.
inline QString RunTool(const QProcessEnvironment &env, const QString &program,
                       const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

inline void StopAll(std::initializer_list<QProcess *> processes)
{
    for (QProcess *process : processes) {
        process->terminate();
        if (process->state() != QProcess::NotRunning && !process->waitForFinished(10000))
            process->kill();
        process->waitForFinished();
    }
}

} // namespace voltwise::testing

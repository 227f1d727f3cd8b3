#include "platform/chime_process_output.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

namespace voltwise {

namespace {

Q_LOGGING_CATEGORY(lcFiles, "voltwise.files", QtInfoMsg)

} // namespace

ChimeProcessOutput::ChimeProcessOutput(QString program)
    : m_program(std::move(program))
{}

ChimeProcessOutput::~ChimeProcessOutput()
{
    // A process still running would make its QProcess warn as it goes.
    for (QProcess *process : findChildren<QProcess *>()) {
        process->kill();
        process->waitForFinished();
    }
}

void ChimeProcessOutput::play(const QString &absolutePath)
{
    stop();
    auto *process = new QProcess(this);
    // The chime program says why a sound did not play.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        // Only a process that never started gets no `finished`.
        if (error != QProcess::FailedToStart)
            return;
        qWarning("voltwise: no sound: %s", qPrintable(process->errorString()));
        process->deleteLater();
    });
    process->start(m_program, {absolutePath});
    m_playing = process;
}

void ChimeProcessOutput::stop()
{
    if (m_playing)
        m_playing->kill();
}

QString ChimeProgramPath(const QString &programFolder)
{
    const QDir program(programFolder);
    const QString name = u"voltwise-chime"_qs;
    const QString beside = QDir::cleanPath(program.filePath(name));
    const QString installed =
        QDir::cleanPath(program.filePath(QStringLiteral(VOLTWISE_HELPER_DIR_FROM_BIN "/") + name));
    for (const QString &path : {beside, installed}) {
        if (QFileInfo(path).isExecutable()) {
            qCDebug(lcFiles, "%s: %s", qUtf8Printable(name), qUtf8Printable(path));
            return path;
        }
    }
    qCWarning(lcFiles, "%s: not found beside the program or in %s", qUtf8Printable(name),
              qUtf8Printable(installed));
    return beside;
}

} // namespace voltwise

#include "platform/late_wave_output.h"

#include "platform/audio_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace voltwise {

LateWaveOutput::LateWaveOutput(Loader load)
    : m_load(std::move(load))
{}

LateWaveOutput::~LateWaveOutput() = default;

void LateWaveOutput::play(const QString &absolutePath)
{
    if (!m_loaded) {
        m_loaded = true; // one attempt: a missing module stays missing
        m_output = m_load();
    }
    if (m_output)
        m_output->play(absolutePath);
}

void LateWaveOutput::stop()
{
    // Before the first sound nothing plays that could be silenced.
    if (m_output)
        m_output->stop();
}

QString AudioModulePath(const QString &programFolder)
{
    const QDir program(programFolder);
    const QString fileName = QString::fromLatin1(kAudioModuleFileName);
    const QString beside = QDir::cleanPath(program.filePath(fileName));
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(
        program.filePath(QStringLiteral(VOLTWISE_MODULE_DIR_FROM_BIN "/") + fileName));
    return QFileInfo::exists(installed) ? installed : beside;
}

std::unique_ptr<WaveOutput> LoadAudioModule()
{
    QLibrary module(AudioModulePath(QCoreApplication::applicationDirPath()));
    const auto create = reinterpret_cast<AudioModuleFactory>(module.resolve(kAudioModuleFactory));
    if (!create) {
        qWarning("voltwise: no sound: %s", qPrintable(module.errorString()));
        return nullptr;
    }
    return std::unique_ptr<WaveOutput>(create());
}

} // namespace voltwise

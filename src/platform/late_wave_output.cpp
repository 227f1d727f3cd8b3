#include "platform/late_wave_output.h"

#include "platform/audio_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace voltwise {

LateWaveOutput::LateWaveOutput(Loader load, std::chrono::milliseconds longest)
    : m_load(std::move(load))
    , m_longest(longest)
{
    m_unload.setSingleShot(true);
    QObject::connect(&m_unload, &QTimer::timeout, &m_unload, [this] { m_output.reset(); });
}

LateWaveOutput::~LateWaveOutput() = default;

void LateWaveOutput::play(const QString &absolutePath)
{
    if (!m_output && !m_missing) {
        // The module calls this from its own code, which must not be unloaded
        // under it: the timer unloads it once that call has returned.
        m_output = m_load([this] { m_unload.start(0); });
        m_missing = !m_output; // a missing module stays missing
    }
    if (!m_output)
        return;
    m_unload.start(m_longest);
    m_output->play(absolutePath);
}

void LateWaveOutput::stop()
{
    m_unload.stop();
    m_output.reset();
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

namespace {

class LoadedModule final : public WaveOutput
{
public:
    explicit LoadedModule(const QString &path)
        : m_module(path)
    {}
    ~LoadedModule() override
    {
        m_output.reset();
        m_module.unload();
    }

    bool load(std::function<void()> ended)
    {
        const auto create =
            reinterpret_cast<AudioModuleFactory>(m_module.resolve(kAudioModuleFactory));
        if (create)
            m_output.reset(create(std::move(ended)));
        return m_output != nullptr;
    }
    QString errorString() const { return m_module.errorString(); }

    void play(const QString &absolutePath) override { m_output->play(absolutePath); }
    void stop() override { m_output->stop(); }

private:
    QLibrary m_module;
    std::unique_ptr<WaveOutput> m_output;
};

} // namespace

std::unique_ptr<WaveOutput> LoadAudioModule(std::function<void()> ended)
{
    auto module =
        std::make_unique<LoadedModule>(AudioModulePath(QCoreApplication::applicationDirPath()));
    if (!module->load(std::move(ended))) {
        qWarning("voltwise: no sound: %s", qPrintable(module->errorString()));
        return nullptr;
    }
    return module;
}

} // namespace voltwise

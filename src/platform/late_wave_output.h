#pragma once

#include "platform/sound_player.h"

#include <functional>
#include <memory>

namespace voltwise {

// Stands in for the audio output until the first sound, and only then has
// it loaded: the audio stack's libraries cost a program that never chimes
// nothing. An output that cannot be loaded leaves every sound silent.
class LateWaveOutput final : public WaveOutput
{
public:
    using Loader = std::function<std::unique_ptr<WaveOutput>()>;

    explicit LateWaveOutput(Loader load);
    ~LateWaveOutput() override;

    void play(const QString &absolutePath) override;
    void stop() override;

private:
    Loader m_load;
    std::unique_ptr<WaveOutput> m_output;
    bool m_loaded = false;
};

// The path of the audio module for a program in programFolder: beside it,
// as in the build tree, or in lib/voltwise of an installed program.
// When neither holds it, the path beside the program.
QString AudioModulePath(const QString &programFolder);

// The output of the running program's audio module; null, with a warning,
// when the module cannot be loaded. The module stays loaded for good.
std::unique_ptr<WaveOutput> LoadAudioModule();

} // namespace voltwise

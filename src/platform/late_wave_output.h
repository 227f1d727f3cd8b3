#pragma once

#include "platform/sound_player.h"

#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace voltwise {

// Stands in for the audio output, which it has loaded for each sound and
// unloaded once the sound has ended: the audio stack's libraries would
// otherwise stay in memory between chimes that come hours apart. An output
// that cannot be loaded leaves every sound silent.
class LateWaveOutput final : public WaveOutput
{
public:
    // Makes an output that calls `ended` once its latest sound has ended.
    using Loader = std::function<std::unique_ptr<WaveOutput>(std::function<void()> ended)>;

    // The output goes after `longest` even if it never says its sound ended.
    explicit LateWaveOutput(Loader load,
                            std::chrono::milliseconds longest = std::chrono::seconds(10));
    ~LateWaveOutput() override;

    void play(const QString &absolutePath) override;
    void stop() override;

private:
    Loader m_load;
    std::chrono::milliseconds m_longest;
    std::unique_ptr<WaveOutput> m_output;
    bool m_missing = false;
    QTimer m_unload;
};

// The path of the audio module for a program in programFolder: beside it,
// as in the build tree, or in lib/voltwise of an installed program.
// When neither holds it, the path beside the program.
QString AudioModulePath(const QString &programFolder);

// The output of the running program's audio module; null, with a warning,
// when the module cannot be loaded. Destroying the output unloads the module.
std::unique_ptr<WaveOutput> LoadAudioModule(std::function<void()> ended);

} // namespace voltwise

#pragma once

#include <QString>

#include <memory>

namespace voltwise {

// Plays a wave file in the background. A missing or unreadable file plays
// nothing: there is no fallback sound.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void PlayWave(const QString &path) = 0;
};

// The audio device's side: starts or silences a sound and returns at once.
class WaveOutput
{
public:
    virtual ~WaveOutput() = default;
    // Replaces the sound still playing, if any.
    virtual void play(const QString &absolutePath) = 0;
    virtual void stop() = 0;
};

// The real player: a new sound replaces the one still playing, and a file
// that is not there silences it.
class WaveSoundPlayer final : public SoundPlayer
{
public:
    explicit WaveSoundPlayer(std::unique_ptr<WaveOutput> output);

    void PlayWave(const QString &path) override;

private:
    std::unique_ptr<WaveOutput> m_output;
};

} // namespace voltwise

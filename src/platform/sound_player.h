#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QSoundEffect;

namespace voltwise {

// Plays a wave file in the background. A missing or unreadable file plays
// nothing: there is no fallback sound.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void PlayWave(const QString &path) = 0;
};

// The real player. It returns at once and also copes with machines that have
// no audio device or sound server: the sound then stays silent. A new sound
// replaces the one still playing.
class WaveSoundPlayer final : public QObject, public SoundPlayer
{
    Q_OBJECT

public:
    explicit WaveSoundPlayer(QObject *parent = nullptr);
    ~WaveSoundPlayer() override;

    void PlayWave(const QString &path) override;

private:
    QPointer<QSoundEffect> m_effect;
};

} // namespace voltwise

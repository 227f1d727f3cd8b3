#pragma once

#include "platform/sound_player.h"

#include <QObject>
#include <QPointer>

class QSoundEffect;

namespace voltwise {

// Plays through the user's chosen audio output. Machines without an audio
// device or sound server stay silent; nothing waits for the device.
class AudioWaveOutput final : public QObject, public WaveOutput
{
    Q_OBJECT

public:
    explicit AudioWaveOutput(QObject *parent = nullptr);
    ~AudioWaveOutput() override;

    void play(const QString &absolutePath) override;
    void stop() override;

private:
    QPointer<QSoundEffect> m_effect;
};

} // namespace voltwise

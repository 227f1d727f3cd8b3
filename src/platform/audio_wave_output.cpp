#include "platform/audio_wave_output.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace voltwise {

AudioWaveOutput::AudioWaveOutput(QObject *parent)
    : QObject(parent)
{}

AudioWaveOutput::~AudioWaveOutput() = default;

void AudioWaveOutput::play(const QString &absolutePath)
{
    stop();
    // A fresh effect per sound follows the output device the user has chosen
    // since the last one; decoding happens off the UI thread.
    m_effect = new QSoundEffect(QMediaDevices::defaultAudioOutput(), this);
    m_effect->setSource(QUrl::fromLocalFile(absolutePath));
    m_effect->play();
}

void AudioWaveOutput::stop()
{
    if (m_effect) {
        m_effect->stop();
        m_effect->deleteLater();
    }
}

} // namespace voltwise

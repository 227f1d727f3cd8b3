#include "platform/sound_player.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace voltwise {

WaveSoundPlayer::WaveSoundPlayer(QObject *parent)
    : QObject(parent)
{}

WaveSoundPlayer::~WaveSoundPlayer() = default;

void WaveSoundPlayer::PlayWave(const QString &path)
{
    if (m_effect) {
        m_effect->stop();
        m_effect->deleteLater();
    }
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return;
    // A fresh effect per sound follows the output device the user has chosen
    // since the last one; decoding happens off the UI thread.
    m_effect = new QSoundEffect(QMediaDevices::defaultAudioOutput(), this);
    m_effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    m_effect->play();
}

} // namespace voltwise

#include "platform/sound_player.h"

#include <QFileInfo>

namespace voltwise {

WaveSoundPlayer::WaveSoundPlayer(std::unique_ptr<WaveOutput> output)
    : m_output(std::move(output))
{}

void WaveSoundPlayer::PlayWave(const QString &path)
{
    const QFileInfo file(path);
    if (file.isFile() && file.isReadable())
        m_output->play(file.absoluteFilePath());
    else
        m_output->stop();
}

} // namespace voltwise

#pragma once

#include "platform/sound_player.h"

#include <QStringList>

namespace voltwise {

// Stands in for the real player: remembers every path it was asked to play.
class RecordingSoundPlayer final : public SoundPlayer
{
public:
    void PlayWave(const QString &path) override { played.append(path); }

    QStringList played;
};

} // namespace voltwise

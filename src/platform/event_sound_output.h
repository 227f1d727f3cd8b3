#pragma once

#include "platform/sound_player.h"

#include <QObject>

#include <cstdint>
#include <functional>

struct ca_context;

namespace voltwise {

// Plays through the desktop's event sounds (libcanberra), so the sound
// server applies its volume and mute for system sounds. Machines without a
// sound server or audio device stay silent; nothing waits for the sound.
class EventSoundOutput final : public WaveOutput
{
public:
    explicit EventSoundOutput(std::function<void()> ended);
    ~EventSoundOutput() override;

    void play(const QString &absolutePath) override;
    void stop() override;

private:
    static void canberraFinished(ca_context *, std::uint32_t sound, int, void *self);
    void finished(std::uint32_t sound);

    std::function<void()> m_ended;
    ca_context *m_context = nullptr;
    std::uint32_t m_sound = 0;
    // Canberra reports the end on its own thread; this brings it to ours, and
    // its destruction drops reports still on the way.
    QObject m_receiver;
};

} // namespace voltwise

// The entry point of the audio module; see audio_module.h.
#include "platform/audio_module.h"

#include "platform/event_sound_output.h"

extern "C" Q_DECL_EXPORT voltwise::WaveOutput *
voltwise_create_wave_output(std::function<void()> ended)
{
    return new voltwise::EventSoundOutput(std::move(ended));
}

// The entry point of the audio module; see audio_module.h.
#include "platform/audio_module.h"

#include "platform/audio_wave_output.h"

extern "C" Q_DECL_EXPORT voltwise::WaveOutput *voltwise_create_wave_output()
{
    return new voltwise::AudioWaveOutput;
}

#pragma once

#include <functional>

namespace voltwise {

class WaveOutput;

// The audio output is built as a module of its own (libcanberra and its
// back-ends with it), loaded for a sound and unloaded once it has played,
// through this one entry point. The PulseAudio client that a back-end brings
// in is linked never to be unloaded, so it stays once it has come. The output
// calls `ended` on the thread that made it, from within its own code, once
// the latest sound has played out or could not start: the output must outlive
// that call.
inline constexpr char kAudioModuleFileName[] = "voltwise-audio.so";
inline constexpr char kAudioModuleFactory[] = "voltwise_create_wave_output";
using AudioModuleFactory = WaveOutput *(*)(std::function<void()> ended);

} // namespace voltwise

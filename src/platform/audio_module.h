#pragma once

namespace voltwise {

class WaveOutput;

// The audio output is built as a module of its own (the Qt Multimedia
// library and the sound server's client with it), loaded at the first
// sound through this one entry point.
inline constexpr char kAudioModuleFileName[] = "voltwise-audio.so";
inline constexpr char kAudioModuleFactory[] = "voltwise_create_wave_output";
using AudioModuleFactory = WaveOutput *(*)();

} // namespace voltwise

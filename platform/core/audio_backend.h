// The audio part of the backend contract, and what the core's sound library offers the layer.
// The core decodes and converts; a backend only moves 16-bit stereo frames to its output.
#pragma once

#include <cstdint>
#include <functional>

namespace backend {

// Writes up to `frames` interleaved stereo frames and returns how many it wrote: fewer only once
// the sound has ended. Runs on the backend's audio thread where it has one.
using AudioSource = std::function<int(int16_t* samples, int frames)>;

// Opens the output for 16-bit stereo at `rate` frames per second; false when there is none.
bool openAudioDevice(int rate);
// From now on the open output plays what the source gives, in place of what played before.
void playAudio(AudioSource source);

} // namespace backend

namespace platform {

// Whether the stream played last still has samples to give; for tests and probes.
bool soundPlaying();

// The sound library as in a process just started: not initialised, every stream closed. The
// backend must have dropped its source first.
void resetSoundLibrary();

} // namespace platform

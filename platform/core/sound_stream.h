// MP3 streams, decoded a piece at a time while they play and converted to 16-bit stereo at the
// output's rate.
#pragma once

#include "platform/sound_library.h"

#include <cstdint>

namespace platform {

// Opens a file and reads it up to its first MPEG frame. Null on failure, with the library's
// error code in `error`.
FSOUND_STREAM* openSoundStream(const char* fileName, int& error);
void closeSoundStream(FSOUND_STREAM* stream);

// Decodes the next `frames` interleaved stereo frames at `rate` and returns how many it wrote:
// fewer only at the end of the stream. Safe against soundStreamEnded on another thread.
int readSoundStream(FSOUND_STREAM* stream, int16_t* samples, int frames, int rate);
bool soundStreamEnded(FSOUND_STREAM* stream);

} // namespace platform

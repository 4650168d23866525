// The sound library: one output opened at start-up, streams opened from files, one stream played
// at a time. Nothing is mixed; the latest play request replaces what played before.
#include "platform/core/audio_backend.h"
#include "platform/core/backend.h"
#include "platform/core/sound_stream.h"

#include <vector>

namespace {

struct Library {
    int error = FMOD_ERR_NONE;
    int rate = 0; // of the open output; 0 before a successful FSOUND_Init
    std::vector<FSOUND_STREAM*> streams;
    FSOUND_STREAM* playing = nullptr;
};

Library library;

template <typename Result> Result fail(int error, Result result) {
    library.error = error;
    return result;
}

} // namespace

signed char F_API FSOUND_Init(int mixRate, int, unsigned int) {
    backend::noteCall("FSOUND_Init");
    if (library.rate != 0)
        return fail<signed char>(FMOD_ERR_BUSY, 0);
    if (mixRate < 8000 || mixRate > 192000)
        return fail<signed char>(FMOD_ERR_INVALID_PARAM, 0);
    if (!backend::openAudioDevice(mixRate))
        return fail<signed char>(FMOD_ERR_INIT, 0);
    library.rate = mixRate;
    return 1;
}

int F_API FSOUND_GetError() {
    backend::noteCall("FSOUND_GetError");
    return library.error;
}

// Streams are always 16-bit stereo and never loop, so the mode asks nothing more of them.
FSOUND_STREAM* F_API FSOUND_Stream_OpenFile(const char* fileName, unsigned int, int) {
    backend::noteCall("FSOUND_Stream_OpenFile");
    if (fileName == nullptr)
        return fail<FSOUND_STREAM*>(FMOD_ERR_INVALID_PARAM, nullptr);
    int error = FMOD_ERR_NONE;
    FSOUND_STREAM* stream = platform::openSoundStream(fileName, error);
    if (stream == nullptr)
        return fail<FSOUND_STREAM*>(error, nullptr);
    library.streams.push_back(stream);
    return stream;
}

int F_API FSOUND_Stream_Play(int, FSOUND_STREAM* stream) {
    backend::noteCall("FSOUND_Stream_Play");
    if (library.rate == 0)
        return fail(FMOD_ERR_UNINITIALIZED, -1);
    if (stream == nullptr)
        return fail(FMOD_ERR_INVALID_PARAM, -1);
    library.playing = stream;
    backend::playAudio([stream, rate = library.rate](int16_t* samples, int frames) {
        return platform::readSoundStream(stream, samples, frames, rate);
    });
    return 0;
}

namespace platform {

bool soundPlaying() {
    return library.playing != nullptr && !soundStreamEnded(library.playing);
}

void resetSoundLibrary() {
    for (FSOUND_STREAM* stream : library.streams)
        closeSoundStream(stream);
    library = Library{};
}

} // namespace platform

// The headless output: a sink that takes the device's rate of frames per second of the virtual
// clock since the play request. It pulls lazily, whenever it is read, up to the clock's reading.
#include "platform/core/audio_backend.h"
#include "platform/headless/machine.h"

#include <algorithm>

namespace {

struct Audio {
    int rate = 0; // 0 while no device is open
    backend::AudioSource source;
    int64_t playedFrom = 0; // clock nanoseconds at the play request
    int64_t framesPulled = 0;
    std::vector<int16_t> sink;
};

Audio audio;

void catchUp() {
    if (!audio.source)
        return;
    const __int128 elapsed = headless::clockNanoseconds() - audio.playedFrom;
    const auto due = static_cast<int64_t>(elapsed * audio.rate / 1'000'000'000);
    while (audio.framesPulled < due) {
        const int frames = static_cast<int>(std::min<int64_t>(due - audio.framesPulled, 4096));
        const size_t held = audio.sink.size();
        audio.sink.resize(held + 2 * size_t(frames));
        const int written = audio.source(audio.sink.data() + held, frames);
        audio.sink.resize(held + 2 * size_t(written));
        audio.framesPulled += frames;
    }
}

} // namespace

namespace headless {

const std::vector<int16_t>& audioSamples() {
    catchUp();
    return audio.sink;
}

void resetAudio() {
    audio = Audio{};
    platform::resetSoundLibrary();
}

} // namespace headless

namespace backend {

bool openAudioDevice(int rate) {
    if (headless::failing(headless::Failure::AudioDevice))
        return false;
    audio.rate = rate;
    return true;
}

void playAudio(AudioSource source) {
    catchUp();
    audio.source = std::move(source);
    audio.playedFrom = headless::clockNanoseconds();
    audio.framesPulled = 0;
}

} // namespace backend

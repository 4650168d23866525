// Sound output through SDL's audio device. SDL pulls from the source on its own thread, holding
// the device's lock, so the source is only swapped under that lock.
#include "platform/core/audio_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

namespace {

SDL_AudioDeviceID device = 0;
backend::AudioSource source;

void SDLCALL fill(void*, Uint8* stream, int bytes) {
    auto* samples = reinterpret_cast<int16_t*>(stream);
    const int frames = bytes / int(2 * sizeof(int16_t));
    const int written = source ? source(samples, frames) : 0;
    std::fill(samples + 2 * written, samples + 2 * frames, int16_t{0});
}

} // namespace

namespace backend {

bool openAudioDevice(int rate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "pelvaro: no sound: %s\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    // SDL's default of 2048 frames would put 46 ms between the show and its music.
    wanted.samples = 1024;
    wanted.callback = fill;
    // With no changes allowed, SDL converts to whatever the hardware takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        std::fprintf(stderr, "pelvaro: no sound: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void playAudio(AudioSource next) {
    SDL_LockAudioDevice(device);
    source = std::move(next);
    SDL_UnlockAudioDevice(device);
    SDL_PauseAudioDevice(device, 0);
}

} // namespace backend

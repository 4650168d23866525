// startSoundtrack on the desktop backend, from a scratch folder that holds a two-second 440 Hz
// MP3 at 22050 Hz mono. Says on standard output whether the music started and whether it played
// to its end. The output device is whatever SDL_AUDIODRIVER gives; with SDL's disk driver the
// probe also reads back what the device was given, from the file SDL_DISKAUDIOFILE names.
#include "sound/soundtrack.h"
#include "tests/sound/mp3_files.h"

#include "platform/core/audio_backend.h"
#include "platform/win32.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

constexpr double toneSeconds = 2.0;
constexpr double toneHertz = 440;

// Polls until the condition holds or far longer than the music has passed.
template <typename Condition> bool waitFor(Condition condition) {
    const DWORD started = timeGetTime();
    while (!condition() && timeGetTime() - started < 20000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return condition();
}

// The device's output as 16-bit stereo at 44100 Hz: the tone's length and pitch, and whether
// both channels carry it.
void describeDeviceOutput(const char* file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::copy(bytes.begin(), bytes.begin() + std::ssize(samples) * 2,
              reinterpret_cast<char*>(samples.data()));
    size_t first = samples.size();
    size_t last = 0;
    bool sameChannels = true;
    for (size_t frame = 0; frame < samples.size() / 2; ++frame) {
        sameChannels = sameChannels && samples[2 * frame] == samples[2 * frame + 1];
        if (std::abs(samples[2 * frame]) > 1000) {
            first = std::min(first, frame);
            last = frame;
        }
    }
    if (first >= last) {
        std::puts("the device got silence");
        return;
    }
    const double seconds = double(last - first) / 44100;
    const size_t middle = (first + last) / 2;
    const double hertz = pitchHertz(samples, 2, 0, middle - 22050, middle + 22050, 44100);
    std::printf("the device got %.3f s at %.1f Hz%s\n", seconds, hertz,
                sameChannels ? " on both channels" : "");
    if (std::abs(seconds - toneSeconds) < 0.05 && std::abs(hertz - toneHertz) < toneHertz / 100 &&
        sameChannels)
        std::puts("the device got the tone");
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ScratchDirectory scratch;
    if (!writeMp3("soundtrack.mp3", sineTone(toneHertz, 22050, toneSeconds), 22050, 1))
        return 1;
    startSoundtrack();
    if (!platform::soundPlaying()) {
        std::puts("silent");
        return 0;
    }
    std::puts("started");
    if (!waitFor([] { return !platform::soundPlaying(); })) {
        std::puts("still playing");
        return 0;
    }
    std::puts("played to its end");
    if (const char* file = std::getenv("SDL_DISKAUDIOFILE")) {
        // The last of the music is written out a buffer or two after the decoder's end.
        const auto endedAt = std::filesystem::file_size(file);
        waitFor([&] { return std::filesystem::file_size(file) > endedAt + 2 * 4 * 4096; });
        describeDeviceOutput(file);
    }
    return 0;
}

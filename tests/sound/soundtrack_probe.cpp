// startSoundtrack on the desktop backend, from a scratch folder that holds a two-second MP3.
// Says on standard output whether the music started and whether it played to its end; the
// output device is whatever SDL_AUDIODRIVER in the environment gives.
#include "sound/soundtrack.h"
#include "tests/sound/mp3_files.h"

#include "platform/core/audio_backend.h"
#include "platform/win32.h"

#include <chrono>
#include <cstdio>
#include <thread>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ScratchDirectory scratch;
    if (!writeMp3("soundtrack.mp3", sineTone(440, 22050, 2.0), 22050, 1))
        return 1;
    startSoundtrack();
    if (!platform::soundPlaying()) {
        std::puts("silent");
        return 0;
    }
    std::puts("started");
    // Far longer than the music, so that a stream that never ends fails instead of hanging.
    const DWORD started = timeGetTime();
    while (platform::soundPlaying() && timeGetTime() - started < 20000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::puts(platform::soundPlaying() ? "still playing" : "played to its end");
    return 0;
}

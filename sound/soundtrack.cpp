#include "sound/soundtrack.h"

#include "platform/sound_library.h"
#include "platform/win32.h"

namespace {

// Kept for the whole run; nothing reads it after the play request.
FSOUND_STREAM* soundtrackStream = nullptr;

void reportSoundError() {
    MessageBoxA(nullptr, soundErrorText(FSOUND_GetError()), "DUDIZA ZA ZUDOVOV", MB_OK);
}

} // namespace

void startSoundtrack() {
    if (FSOUND_Init(44100, 32, FSOUND_INIT_GLOBALFOCUS) == 0)
        reportSoundError();
    // Tried whether or not the library started: the box above is all the user learns of that.
    soundtrackStream = FSOUND_Stream_OpenFile("soundtrack.mp3",
                                              FSOUND_LOOP_OFF | FSOUND_16BITS | FSOUND_STEREO, 0);
    if (soundtrackStream == nullptr)
        reportSoundError();
    // Made with an empty handle too; the library plays nothing then.
    FSOUND_Stream_Play(FSOUND_FREE, soundtrackStream);
}

// The streaming sound library the system plays its music with: the four calls it makes, their
// constants and the error codes they report.
#pragma once

#define F_API

struct FSOUND_STREAM;

#define FSOUND_INIT_GLOBALFOCUS 0x02

#define FSOUND_LOOP_OFF 0x00000001
#define FSOUND_16BITS 0x00000010
#define FSOUND_STEREO 0x00000040

#define FSOUND_FREE (-1)

enum FMOD_ERRORS {
    FMOD_ERR_NONE,
    FMOD_ERR_BUSY,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_INIT,
    FMOD_ERR_ALLOCATED,
    FMOD_ERR_PLAY,
    FMOD_ERR_OUTPUT_FORMAT,
    FMOD_ERR_COOPERATIVELEVEL,
    FMOD_ERR_CREATEBUFFER,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FILE_FORMAT,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_MEMORY,
    FMOD_ERR_VERSION,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_NO_EAX,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_RECORD,
    FMOD_ERR_MEDIAPLAYER,
};

signed char F_API FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
int F_API FSOUND_GetError();
FSOUND_STREAM* F_API FSOUND_Stream_OpenFile(const char* fileName, unsigned int mode, int length);
int F_API FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);

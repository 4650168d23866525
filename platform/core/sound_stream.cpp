// The decoder reads the file through our own reader, so that a failing read tells itself apart
// from a file that holds no MPEG audio. The conversion to the output rate is linear
// interpolation between neighbouring decoded frames; at equal rates it passes the decoder's
// samples through unchanged.
#include "platform/core/sound_stream.h"

#include <mpg123.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <memory>
#include <mutex>

struct FSOUND_STREAM {
    int file = -1;
    bool readFailed = false;
    mpg123_handle* decoder = nullptr;
    long inputRate = 0;

    // The audio thread reads while the caller may ask whether the end has come.
    std::mutex lock;

    // Decoded frames not yet converted; room for two layer III frames.
    int16_t decoded[2 * 1152 * 2];
    size_t decodedSamples = 0;
    size_t decodedPosition = 0;
    bool decoderDone = false;

    // The next output frame lies `phase` / rate of the way from `previous` to `next`.
    int16_t previous[2] = {};
    int16_t next[2] = {};
    bool havePrevious = false;
    bool haveNext = false;
    int64_t phase = 0;
    bool ended = false;

    ~FSOUND_STREAM() {
        mpg123_delete(decoder);
        if (file >= 0)
            close(file);
    }
};

namespace {

mpg123_ssize_t readFile(void* handle, void* buffer, size_t bytes) {
    auto* stream = static_cast<FSOUND_STREAM*>(handle);
    ssize_t result = 0;
    do
        result = read(stream->file, buffer, bytes);
    while (result < 0 && errno == EINTR);
    if (result < 0)
        stream->readFailed = true;
    return result;
}

off_t seekFile(void* handle, off_t offset, int whence) {
    return lseek(static_cast<FSOUND_STREAM*>(handle)->file, offset, whence);
}

// Every rate the decoder knows, always as 16-bit stereo: mono is doubled by the decoder.
void requestStereo16(mpg123_handle* decoder) {
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    mpg123_format_none(decoder);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(decoder, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
}

bool takeFrame(FSOUND_STREAM& stream, int16_t frame[2]) {
    while (stream.decodedPosition == stream.decodedSamples) {
        if (stream.decoderDone)
            return false;
        size_t bytes = 0;
        const int result =
            mpg123_read(stream.decoder, stream.decoded, sizeof stream.decoded, &bytes);
        stream.decodedSamples = bytes / sizeof(int16_t);
        stream.decodedPosition = 0;
        if (result == MPG123_NEW_FORMAT) {
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(stream.decoder, &stream.inputRate, &channels, &encoding);
        } else if (result != MPG123_OK || bytes == 0) {
            stream.decoderDone = true;
        }
    }
    frame[0] = stream.decoded[stream.decodedPosition++];
    frame[1] = stream.decoded[stream.decodedPosition++];
    return true;
}

int16_t between(int16_t from, int16_t to, int64_t phase, int rate) {
    return static_cast<int16_t>(std::lround(from + double(to - from) * double(phase) / rate));
}

} // namespace

namespace platform {

FSOUND_STREAM* openSoundStream(const char* fileName, int& error) {
    auto stream = std::make_unique<FSOUND_STREAM>();
    stream->file = open(fileName, O_RDONLY | O_CLOEXEC);
    if (stream->file < 0) {
        error = errno == ENOENT ? FMOD_ERR_FILE_NOTFOUND : FMOD_ERR_FILE_BAD;
        return nullptr;
    }
    stream->decoder = mpg123_new(nullptr, nullptr);
    if (stream->decoder == nullptr) {
        error = FMOD_ERR_MEMORY;
        return nullptr;
    }
    mpg123_param(stream->decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    requestStereo16(stream->decoder);
    int channels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(stream->decoder, readFile, seekFile, nullptr) != MPG123_OK ||
        mpg123_open_handle(stream->decoder, stream.get()) != MPG123_OK ||
        mpg123_getformat(stream->decoder, &stream->inputRate, &channels, &encoding) != MPG123_OK) {
        error = stream->readFailed ? FMOD_ERR_FILE_BAD : FMOD_ERR_FILE_FORMAT;
        return nullptr;
    }
    return stream.release();
}

void closeSoundStream(FSOUND_STREAM* stream) {
    delete stream;
}

int readSoundStream(FSOUND_STREAM* stream, int16_t* samples, int frames, int rate) {
    std::lock_guard guard(stream->lock);
    FSOUND_STREAM& s = *stream;
    if (!s.havePrevious && !s.ended)
        s.havePrevious = takeFrame(s, s.previous);
    int written = 0;
    while (written < frames && s.havePrevious) {
        if (s.phase > 0 && !s.haveNext) {
            s.haveNext = takeFrame(s, s.next);
            if (!s.haveNext) {
                s.havePrevious = false;
                break;
            }
        }
        samples[2 * written] = between(s.previous[0], s.next[0], s.phase, rate);
        samples[2 * written + 1] = between(s.previous[1], s.next[1], s.phase, rate);
        ++written;
        s.phase += s.inputRate;
        while (s.phase >= rate && s.havePrevious) {
            s.phase -= rate;
            if (s.haveNext) {
                s.previous[0] = s.next[0];
                s.previous[1] = s.next[1];
                s.haveNext = false;
            } else {
                s.havePrevious = takeFrame(s, s.previous);
            }
        }
    }
    s.ended = !s.havePrevious;
    return written;
}

bool soundStreamEnded(FSOUND_STREAM* stream) {
    std::lock_guard guard(stream->lock);
    return stream->ended;
}

} // namespace platform

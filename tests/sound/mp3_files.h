// Test fixtures for the sound: MP3 files made with libmp3lame, libmpg123's own decode of them,
// and a scratch working directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// One channel of a sine tone, at 12000 of 32767.
std::vector<int16_t> sineTone(double hertz, int rate, double seconds);

// Encodes `channels` interleaved channels of `samples` at `rate`; false when the encoder fails.
bool writeMp3(const std::filesystem::path& file, const std::vector<int16_t>& samples, int rate,
              int channels);

struct DecodedAudio {
    std::vector<int16_t> samples; // interleaved
    long rate = 0;
    int channels = 0;
};
// libmpg123's decode of the whole file at its own rate and channel count, 16-bit.
DecodedAudio decodeMp3(const std::filesystem::path& file);

// Rising zero crossings per second of one channel of interleaved audio, over [from, to) frames.
double pitchHertz(const std::vector<int16_t>& samples, int channels, int channel, size_t from,
                  size_t to, int rate);

// A fresh empty directory that is the working directory while this lives.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return directory; }

private:
    std::filesystem::path previous;
    std::filesystem::path directory;
};

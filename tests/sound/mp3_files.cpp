#include "tests/sound/mp3_files.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdlib.h>

std::vector<int16_t> sineTone(double hertz, int rate, double seconds) {
    std::vector<int16_t> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(
            std::lround(12000 * std::sin(2 * std::numbers::pi * hertz * double(i) / rate)));
    return samples;
}

bool writeMp3(const std::filesystem::path& file, const std::vector<int16_t>& samples, int rate,
              int channels) {
    lame_t encoder = lame_init();
    lame_set_in_samplerate(encoder, rate);
    lame_set_out_samplerate(encoder, rate);
    lame_set_num_channels(encoder, channels);
    lame_set_mode(encoder, channels == 1 ? MONO : STEREO);
    lame_set_brate(encoder, channels == 1 ? 64 : 128);
    lame_set_bWriteVbrTag(encoder, 0);
    if (lame_init_params(encoder) < 0) {
        lame_close(encoder);
        return false;
    }
    const int frames = static_cast<int>(samples.size()) / channels;
    std::vector<unsigned char> mp3(static_cast<size_t>(frames) * 5 / 4 + 7200 + 7200);
    std::vector<int16_t> input(samples); // the interleaved call takes its input as non-const
    int bytes = channels == 1
                    ? lame_encode_buffer(encoder, input.data(), nullptr, frames, mp3.data(),
                                         static_cast<int>(mp3.size()))
                    : lame_encode_buffer_interleaved(encoder, input.data(), frames, mp3.data(),
                                                     static_cast<int>(mp3.size()));
    if (bytes >= 0) {
        const int tail =
            lame_encode_flush(encoder, mp3.data() + bytes, static_cast<int>(mp3.size()) - bytes);
        bytes = tail < 0 ? tail : bytes + tail;
    }
    lame_close(encoder);
    if (bytes < 0)
        return false;
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(mp3.data(), 1, size_t(bytes), out) == size_t(bytes);
    return std::fclose(out) == 0 && written;
}

DecodedAudio decodeMp3(const std::filesystem::path& file) {
    DecodedAudio decoded;
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    int encoding = 0;
    if (decoder == nullptr)
        return decoded;
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    if (mpg123_open(decoder, file.c_str()) == MPG123_OK &&
        mpg123_getformat(decoder, &decoded.rate, &decoded.channels, &encoding) == MPG123_OK) {
        mpg123_format_none(decoder);
        mpg123_format(decoder, decoded.rate, decoded.channels, MPG123_ENC_SIGNED_16);
        int16_t buffer[4096];
        size_t bytes = 0;
        int result = MPG123_OK;
        while (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            result = mpg123_read(decoder, buffer, sizeof buffer, &bytes);
            decoded.samples.insert(decoded.samples.end(), buffer, buffer + bytes / 2);
        }
    }
    mpg123_delete(decoder);
    return decoded;
}

double pitchHertz(const std::vector<int16_t>& samples, int channels, int channel, size_t from,
                  size_t to, int rate) {
    int rising = 0;
    for (size_t frame = from + 1; frame < to; ++frame)
        rising += samples[(frame - 1) * channels + channel] < 0 &&
                  samples[frame * channels + channel] >= 0;
    return rising * double(rate) / double(to - from);
}

ScratchDirectory::ScratchDirectory() : previous(std::filesystem::current_path()) {
    std::string name = (std::filesystem::temp_directory_path() / "pelvaro-sound-XXXXXX").string();
    if (mkdtemp(name.data()) != nullptr) {
        directory = name;
        std::filesystem::current_path(directory);
    }
}

ScratchDirectory::~ScratchDirectory() {
    std::filesystem::current_path(previous);
    std::error_code ignored;
    if (!directory.empty())
        std::filesystem::remove_all(directory, ignored);
}

// Our sound library on the headless machine: what reaches the output, at what pace, and the
// error each failing call reports. Every MP3 is made here with libmp3lame and checked against
// libmpg123's own decode of it.
#include "tests/sound/mp3_files.h"

#include "platform/headless/control.h"
#include "platform/sound_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numbers>

namespace {

constexpr unsigned int streamMode = FSOUND_LOOP_OFF | FSOUND_16BITS | FSOUND_STEREO;

class SoundLibrary : public ::testing::Test {
protected:
    void SetUp() override { headless::reset(); }
    void TearDown() override { headless::reset(); }

    // Starts the library at `mixRate` and plays the file from the clock's present reading.
    static void play(const char* file, int mixRate = 44100) {
        ASSERT_NE(FSOUND_Init(mixRate, 32, FSOUND_INIT_GLOBALFOCUS), 0);
        FSOUND_STREAM* stream = FSOUND_Stream_OpenFile(file, streamMode, 0);
        ASSERT_NE(stream, nullptr) << "error " << FSOUND_GetError();
        EXPECT_EQ(FSOUND_Stream_Play(FSOUND_FREE, stream), 0);
    }

    ScratchDirectory scratch;
};

size_t frames(const std::vector<int16_t>& stereo) {
    return stereo.size() / 2;
}

int largestStep(const std::vector<int16_t>& samples, int channels) {
    int largest = 0;
    for (size_t i = size_t(channels); i < samples.size(); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - size_t(channels)]));
    return largest;
}

TEST_F(SoundLibrary, PlaysLibmpg123sOwnDecodeSampleForSample) {
    // Two tones, so that a swap or a mix of the channels shows.
    const std::vector<int16_t> left = sineTone(440, 44100, 1.5);
    const std::vector<int16_t> right = sineTone(1250, 44100, 1.5);
    std::vector<int16_t> stereo;
    for (size_t i = 0; i < left.size(); ++i)
        stereo.insert(stereo.end(), {left[i], right[i]});
    ASSERT_TRUE(writeMp3("music.mp3", stereo, 44100, 2));
    const DecodedAudio reference = decodeMp3("music.mp3");
    ASSERT_EQ(reference.rate, 44100);
    ASSERT_EQ(reference.channels, 2);

    play("music.mp3");
    headless::advanceMilliseconds(3000);

    const std::vector<int16_t>& played = headless::audioSamples();
    ASSERT_EQ(played.size(), reference.samples.size());
    const auto mismatch = std::mismatch(played.begin(), played.end(), reference.samples.begin());
    EXPECT_EQ(mismatch.first - played.begin(), std::ssize(played)) << "first differing sample";
}

struct ConversionCase {
    const char* name;
    int fileRate;
    int channels;
    double hertz; // of the left channel; the right one, if any, is half as high again
    int mixRate;
};

const ConversionCase conversionCases[] = {
    {"Mono22050To44100", 22050, 1, 440, 44100},
    {"Mono16000To44100", 16000, 1, 300, 44100},
    {"Stereo48000To44100", 48000, 2, 1000, 44100},
    {"Stereo44100To48000", 44100, 2, 440, 48000},
};

void PrintTo(const ConversionCase& conversion, std::ostream* out) {
    *out << conversion.name;
}

class Conversion : public SoundLibrary, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(Conversion, KeepsLengthAndPitchAtTheMixRate) {
    const ConversionCase& conversion = GetParam();
    const double seconds = 2.0;
    const std::vector<int16_t> left = sineTone(conversion.hertz, conversion.fileRate, seconds);
    std::vector<int16_t> signal = left;
    if (conversion.channels == 2) {
        const std::vector<int16_t> right =
            sineTone(1.5 * conversion.hertz, conversion.fileRate, seconds);
        signal.clear();
        for (size_t i = 0; i < left.size(); ++i)
            signal.insert(signal.end(), {left[i], right[i]});
    }
    ASSERT_TRUE(writeMp3("tone.mp3", signal, conversion.fileRate, conversion.channels));
    const DecodedAudio reference = decodeMp3("tone.mp3");
    ASSERT_EQ(reference.rate, conversion.fileRate);
    ASSERT_EQ(reference.channels, conversion.channels);

    play("tone.mp3", conversion.mixRate);
    headless::advanceMilliseconds(4000);
    const std::vector<int16_t>& played = headless::audioSamples();

    const double ratio = double(conversion.mixRate) / conversion.fileRate;
    const double expectedFrames = double(reference.samples.size()) / conversion.channels * ratio;
    EXPECT_NEAR(double(frames(played)), expectedFrames, ratio + 1);

    // The tone lies in the middle second; the ends hold the encoder's delay and padding.
    const size_t from = frames(played) / 4;
    const size_t to = from + size_t(conversion.mixRate);
    ASSERT_LE(to, frames(played));
    const double rightHertz = conversion.hertz * (conversion.channels == 2 ? 1.5 : 1.0);
    EXPECT_NEAR(pitchHertz(played, 2, 0, from, to, conversion.mixRate), conversion.hertz,
                conversion.hertz / 100);
    EXPECT_NEAR(pitchHertz(played, 2, 1, from, to, conversion.mixRate), rightHertz,
                rightHertz / 100);
    if (conversion.channels == 1) {
        for (size_t frame = 0; frame < frames(played); ++frame)
            ASSERT_EQ(played[2 * frame], played[2 * frame + 1]) << "frame " << frame;
    }
    // Interpolated, not held: no step is larger than the file's own steps spread over the
    // frames that now lie between them.
    EXPECT_LE(largestStep(played, 2),
              largestStep(reference.samples, conversion.channels) * 1.1 / ratio + 16);
}

INSTANTIATE_TEST_SUITE_P(Files, Conversion, ::testing::ValuesIn(conversionCases),
                         [](const ::testing::TestParamInfo<ConversionCase>& info) {
                             return info.param.name;
                         });

TEST_F(SoundLibrary, SinkTakesTheMixRateOfFramesPerSecondFromThePlayRequestOn) {
    ASSERT_TRUE(writeMp3("tone.mp3", sineTone(440, 44100, 3.0), 44100, 1));
    ASSERT_NE(FSOUND_Init(44100, 32, FSOUND_INIT_GLOBALFOCUS), 0);
    FSOUND_STREAM* stream = FSOUND_Stream_OpenFile("tone.mp3", streamMode, 0);
    ASSERT_NE(stream, nullptr);
    headless::advanceMilliseconds(700);
    EXPECT_TRUE(headless::audioSamples().empty()) << "nothing plays before the play request";

    FSOUND_Stream_Play(FSOUND_FREE, stream);
    EXPECT_TRUE(headless::audioSamples().empty());
    headless::advanceMilliseconds(100);
    EXPECT_EQ(frames(headless::audioSamples()), 4410u);
    headless::advanceMilliseconds(250);
    EXPECT_EQ(frames(headless::audioSamples()), 15435u);
    EXPECT_EQ(frames(headless::audioSamples()), 15435u) << "reading takes no time";
}

TEST_F(SoundLibrary, ReadsTheFileWhileItPlays) {
    ASSERT_TRUE(writeMp3("tone.mp3", sineTone(440, 44100, 4.0), 44100, 1));
    play("tone.mp3");
    headless::advanceMilliseconds(500);
    ASSERT_FALSE(headless::audioSamples().empty());

    // Cut the file to its first half while it plays: a decoder that had read it all up front
    // would not notice.
    std::filesystem::resize_file("tone.mp3", std::filesystem::file_size("tone.mp3") / 2);
    headless::advanceMilliseconds(6000);
    const double secondsPlayed = double(frames(headless::audioSamples())) / 44100;
    EXPECT_NEAR(secondsPlayed, 2.0, 0.2);
}

struct FailureCase {
    const char* name;
    // Makes the failing call; true when its result reports the failure.
    std::function<bool()> failingCall;
    int error;
};

bool init() {
    return FSOUND_Init(44100, 32, FSOUND_INIT_GLOBALFOCUS) != 0;
}

bool openFails(const char* file) {
    return FSOUND_Stream_OpenFile(file, streamMode, 0) == nullptr;
}

bool writeText(const char* file, const char* text) {
    return static_cast<bool>(std::ofstream(file) << text);
}

const FailureCase failureCases[] = {
    {"NoAudioDevice",
     [] {
         headless::setFailing(headless::Failure::AudioDevice, true);
         return !init();
     },
     FMOD_ERR_INIT},
    {"SecondInit", [] { return init() && !init(); }, FMOD_ERR_BUSY},
    {"MixRateZero", [] { return FSOUND_Init(0, 32, FSOUND_INIT_GLOBALFOCUS) == 0; },
     FMOD_ERR_INVALID_PARAM},
    {"MissingFile", [] { return init() && openFails("missing.mp3"); }, FMOD_ERR_FILE_NOTFOUND},
    {"EmptyFile", [] { return init() && writeText("empty.mp3", "") && openFails("empty.mp3"); },
     FMOD_ERR_FILE_FORMAT},
    {"TextFile",
     [] {
         return init() && writeText("text.mp3", "no frames here, only words\n") &&
                openFails("text.mp3");
     },
     FMOD_ERR_FILE_FORMAT},
    {"Directory",
     [] {
         return init() && std::filesystem::create_directory("folder.mp3") &&
                openFails("folder.mp3");
     },
     FMOD_ERR_FILE_BAD},
    {"NoFileName", [] { return init() && openFails(nullptr); }, FMOD_ERR_INVALID_PARAM},
    {"PlayWithoutInit",
     [] {
         FSOUND_STREAM* stream = FSOUND_Stream_OpenFile("tone.mp3", streamMode, 0);
         return stream != nullptr && FSOUND_Stream_Play(FSOUND_FREE, stream) == -1;
     },
     FMOD_ERR_UNINITIALIZED},
    {"PlayEmptyHandle", [] { return init() && FSOUND_Stream_Play(FSOUND_FREE, nullptr) == -1; },
     FMOD_ERR_INVALID_PARAM},
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

class Failure : public SoundLibrary, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(Failure, ReportsItsCodeAndPlaysNothing) {
    ASSERT_TRUE(writeMp3("tone.mp3", sineTone(440, 44100, 0.5), 44100, 1));
    ASSERT_TRUE(GetParam().failingCall());
    EXPECT_EQ(FSOUND_GetError(), GetParam().error);
    headless::advanceMilliseconds(1000);
    EXPECT_TRUE(headless::audioSamples().empty());
}

INSTANTIATE_TEST_SUITE_P(Calls, Failure, ::testing::ValuesIn(failureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return info.param.name;
                         });

} // namespace

// startSoundtrack on the headless machine: the boxes the user sees and the calls made to the
// sound library, for each state of the machine and of soundtrack.mp3.
#include "sound/soundtrack.h"
#include "tests/sound/mp3_files.h"

#include "platform/headless/control.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

enum class Soundtrack { Mp3, Absent, Text, Directory };

struct StartCase {
    const char* name;
    Soundtrack soundtrack;
    bool noAudioDevice;
    std::vector<std::string> boxTexts;
    std::vector<std::string> calls;
    bool plays;
};

const char* const deviceText = "Error initializing output device.";

const StartCase startCases[] = {
    {"Present",
     Soundtrack::Mp3,
     false,
     {},
     {"FSOUND_Init", "FSOUND_Stream_OpenFile", "FSOUND_Stream_Play"},
     true},
    {"Absent",
     Soundtrack::Absent,
     false,
     {"File not found"},
     {"FSOUND_Init", "FSOUND_Stream_OpenFile", "FSOUND_GetError", "MessageBoxA",
      "FSOUND_Stream_Play"},
     false},
    {"NotAnMp3",
     Soundtrack::Text,
     false,
     {"Unknown file format"},
     {"FSOUND_Init", "FSOUND_Stream_OpenFile", "FSOUND_GetError", "MessageBoxA",
      "FSOUND_Stream_Play"},
     false},
    {"Unreadable",
     Soundtrack::Directory,
     false,
     {"Error loading file"},
     {"FSOUND_Init", "FSOUND_Stream_OpenFile", "FSOUND_GetError", "MessageBoxA",
      "FSOUND_Stream_Play"},
     false},
    {"NoAudioDevice",
     Soundtrack::Mp3,
     true,
     {deviceText},
     {"FSOUND_Init", "FSOUND_GetError", "MessageBoxA", "FSOUND_Stream_OpenFile",
      "FSOUND_Stream_Play"},
     false},
    {"NoAudioDeviceAndAbsent",
     Soundtrack::Absent,
     true,
     {deviceText, "File not found"},
     {"FSOUND_Init", "FSOUND_GetError", "MessageBoxA", "FSOUND_Stream_OpenFile", "FSOUND_GetError",
      "MessageBoxA", "FSOUND_Stream_Play"},
     false},
};

void PrintTo(const StartCase& start, std::ostream* out) {
    *out << start.name;
}

// The sound library calls and boxes in a trace; the rest is the clock and such.
std::vector<std::string> soundCalls(const std::vector<std::string>& trace) {
    std::vector<std::string> kept;
    for (const std::string& call : trace)
        if (call.starts_with("FSOUND_") || call == "MessageBoxA")
            kept.push_back(call);
    return kept;
}

class StartSoundtrack : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override { headless::reset(); }
    void TearDown() override { headless::reset(); }

    ScratchDirectory scratch;
};

TEST_P(StartSoundtrack, ShowsItsBoxesThenPlaysWhatItCan) {
    const StartCase& start = GetParam();
    switch (start.soundtrack) {
    case Soundtrack::Mp3:
        ASSERT_TRUE(writeMp3("soundtrack.mp3", sineTone(440, 44100, 1.0), 44100, 1));
        break;
    case Soundtrack::Text:
        std::ofstream("soundtrack.mp3") << "These are the words of a song, not its sound.\n";
        break;
    case Soundtrack::Directory:
        std::filesystem::create_directory("soundtrack.mp3");
        break;
    case Soundtrack::Absent:
        break;
    }
    headless::setFailing(headless::Failure::AudioDevice, start.noAudioDevice);
    // The user takes two seconds over each box.
    headless::onMessageBox([](const headless::MessageBoxRecord&) {
        headless::advanceMilliseconds(2000);
        return IDOK;
    });
    headless::recordCalls(true);

    startSoundtrack();
    const DWORD returnedAt = timeGetTime();

    std::vector<std::string> texts;
    for (const headless::MessageBoxRecord& box : headless::messageBoxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "DUDIZA ZA ZUDOVOV");
        EXPECT_EQ(box.type, UINT(MB_OK));
    }
    EXPECT_EQ(texts, start.boxTexts);
    EXPECT_EQ(soundCalls(headless::calls()), start.calls);
    // Start-up is held up by every box, so the show's clock, read next, starts after them.
    EXPECT_EQ(returnedAt, 2000 * start.boxTexts.size());

    headless::advanceMilliseconds(500);
    EXPECT_EQ(headless::audioSamples().empty(), !start.plays);
    EXPECT_EQ(soundCalls(headless::calls()), start.calls) << "the music plays by itself";
}

INSTANTIATE_TEST_SUITE_P(Machines, StartSoundtrack, ::testing::ValuesIn(startCases),
                         [](const ::testing::TestParamInfo<StartCase>& info) {
                             return info.param.name;
                         });

} // namespace

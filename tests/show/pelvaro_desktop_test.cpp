// The real program on the desktop backend under Xvfb, in a folder holding the show's media:
// watched from outside through the X server and the audio SDL was given.
#include "tests/platform/desktop/processes.h"
#include "tests/platform/desktop/x_screen.h"
#include "tests/show/show_media.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

const char decoratedTitle[] = "(Pelvaro, fast-intro) -- [640x480^32^16]";
const char soundCaption[] = "DUDIZA ZA ZUDOVOV";
constexpr double soundtrackSeconds = 1.0;
constexpr size_t bytesPerSecond = 44100 * 2 * 2;

bool white(Rgb pixel) {
    return pixel.red >= 250 && pixel.green >= 250 && pixel.blue >= 250;
}

void press(const std::string& key, const std::string& display) {
    runProgram({"xdotool", "key", key}, display.c_str());
}

// The title of a window whose title holds the text, or nothing.
std::string windowTitleWith(const std::string& text, const std::string& display) {
    std::string found = runProgram({"xdotool", "search", "--name", text}, display.c_str());
    found = found.substr(0, found.find('\n'));
    if (found.empty())
        return found;
    std::string title = runProgram({"xdotool", "getwindowname", found}, display.c_str());
    return title.substr(0, title.find('\n'));
}

// Seconds from the first to the last audible sample of 16-bit stereo at 44.1 kHz.
double audibleSeconds(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<int16_t> samples;
    int16_t sample;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof(sample)))
        samples.push_back(sample);
    auto audible = [](int16_t s) { return std::abs(s) > 300; };
    auto first = std::find_if(samples.begin(), samples.end(), audible);
    auto last = std::find_if(samples.rbegin(), samples.rend(), audible);
    if (first == samples.end())
        return 0;
    return static_cast<double>(last.base() - first) / (2 * 44100.0);
}

class PelvaroOnXvfb : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = XServer::xvfb(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        ASSERT_NE(server, nullptr) << "Xvfb did not start";
        folder = fs::temp_directory_path() /
                 ("pelvaro-desktop-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        ASSERT_TRUE(writeShowMedia(folder, soundtrackSeconds));
        previous = fs::current_path();
        fs::current_path(folder);
    }

    void TearDown() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    // Escape ends the run with exit code 0.
    void endWithEscape(Child& program) {
        press("Escape", display());
        const std::optional<int> status = program.wait();
        ASSERT_TRUE(status) << "the program did not end";
        EXPECT_TRUE(WIFEXITED(*status)) << *status;
        EXPECT_EQ(WEXITSTATUS(*status), 0);
    }

    static const std::string& display() { return server->display(); }
    static inline std::unique_ptr<XServer> server;
    fs::path folder;
    fs::path previous;
};

} // namespace

TEST_F(PelvaroOnXvfb, DrawsFullscreenFramesAndPlaysTheSoundtrackToItsEnd) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder / "device.raw").c_str(), 1);
    Child pelvaro({PELVARO_PROGRAM}, display().c_str());

    XConnection x(display());
    ASSERT_TRUE(x.open());
    XWindow window = 0;
    ASSERT_TRUE(eventually([&] { return (window = x.findWindow(decoratedTitle)) != 0; }));
    const Area area = x.area(window);
    EXPECT_EQ(area.x, 0);
    EXPECT_EQ(area.y, 0);
    EXPECT_EQ(area.width, 640);
    EXPECT_EQ(area.height, 480);
    EXPECT_TRUE(eventually([&] { return x.shareOf(area, white) == 1.0; }))
        << "frames cleared to the show's white";

    // The device keeps taking silence after the music: wait for half a second of it.
    const fs::path device = folder / "device.raw";
    EXPECT_TRUE(eventually([&] {
        std::error_code error;
        return fs::file_size(device, error) > (soundtrackSeconds + 0.5) * bytesPerSecond;
    }));
    EXPECT_EQ(x.findWindow(soundCaption), 0u) << "no sound failure box";
    EXPECT_NE(x.findWindow(decoratedTitle), 0u) << "the fullscreen title never changes";
    endWithEscape(pelvaro);

    EXPECT_NEAR(audibleSeconds(device), soundtrackSeconds, 0.1);
    for (const std::string& line : pelvaro.errorLines())
        EXPECT_EQ(line.find(soundCaption), std::string::npos) << line;
}

TEST_F(PelvaroOnXvfb, WithoutAnAudioDeviceShowsTheBoxAndGoesOnSilent) {
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    Child pelvaro({PELVARO_PROGRAM}, display().c_str());

    XConnection x(display());
    ASSERT_TRUE(x.open());
    XWindow box = 0;
    ASSERT_TRUE(eventually([&] { return (box = x.findWindow(soundCaption)) != 0; }));
    runProgram({"xdotool", "windowfocus", "--sync", std::to_string(box)}, display().c_str());
    press("Return", display());
    ASSERT_TRUE(eventually([&] { return x.findWindow(soundCaption) == 0; }));

    XWindow window = 0;
    ASSERT_TRUE(eventually([&] { return (window = x.findWindow(decoratedTitle)) != 0; }));
    EXPECT_TRUE(eventually([&] { return x.shareOf(x.area(window), white) == 1.0; }));
    EXPECT_EQ(x.findWindow(soundCaption), 0u) << "one box only: the soundtrack itself opens";
    endWithEscape(pelvaro);
}

TEST_F(PelvaroOnXvfb, WindowedTitleShowsTheFrameRate) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Child pelvaro({WINDOWED_PROGRAM}, display().c_str());

    XConnection x(display());
    ASSERT_TRUE(x.open());
    std::string title;
    ASSERT_TRUE(eventually([&] {
        title = windowTitleWith("fps:", display());
        return !title.empty();
    }));
    const std::regex withRate(
        R"(\(Pelvaro, fast-intro\) -- \[640x480\^32\^16\] \[fps: +\d+\.\d\d\])");
    EXPECT_TRUE(std::regex_match(title, withRate)) << title;
    EXPECT_EQ(x.findWindow(soundCaption), 0u) << "SDL's dummy driver is a device too";
    const double rate = std::stod(title.substr(title.find("fps:") + 4));
    EXPECT_GT(rate, 1.0) << title;
    endWithEscape(pelvaro);
}

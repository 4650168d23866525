// The show's start-up on the headless machine, in a folder of pictures made for each test.
#include "platform/headless/control.h"
#include "show/show_clock.h"
#include "show/show_start.h"
#include "tests/show/show_media.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

GLint textureHeight(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint height = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    return height;
}

class ShowStart : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("pelvaro-show-start-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        ASSERT_TRUE(writeShowMedia(folder, 0));
        previous = fs::current_path();
        fs::current_path(folder);
        opened = openTestWindow(64, 48);
    }

    void TearDown() override {
        headless::reset();
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    fs::path folder;
    fs::path previous;
    TestWindow opened;
};

} // namespace

TEST_F(ShowStart, FillsEverySlotInOrderThenStartsTheMusicThenTheClock) {
    ASSERT_NE(opened.renderContext, nullptr);
    ASSERT_TRUE(writeShowMedia(folder, 0.5));
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    headless::setClockNanoseconds(123'456'000'000);
    headless::recordCalls(true);

    showStart("(Pelvaro, fast-intro) -- [640x480^32^16]");

    ASSERT_NE(pictureBank, nullptr);
    GLuint previousName = 0;
    for (int slot = 0; slot < pictureCount; ++slot) {
        const Picture& picture = pictureBank->slots[slot];
        EXPECT_GT(picture.textureName, previousName) << "slot " << slot;
        previousName = picture.textureName;
        EXPECT_EQ(picture.height, static_cast<uint32_t>(slot + 1));
        EXPECT_EQ(textureHeight(picture.textureName), slot + 1) << "slot " << slot;
    }
    EXPECT_TRUE(headless::messageBoxes().empty());

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0;
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<float>(clear, clear + 4), (std::vector<float>{1, 1, 1, 0}));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(showStartMs, 123'456u);

    // The music is asked to play before the clock is read, and nothing of it after.
    const auto& calls = headless::calls();
    auto play = std::find(calls.begin(), calls.end(), "FSOUND_Stream_Play");
    auto clock = std::find(calls.begin(), calls.end(), "timeGetTime");
    ASSERT_NE(play, calls.end());
    ASSERT_NE(clock, calls.end());
    EXPECT_LT(play, clock);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "timeGetTime"), 1);
}

TEST_F(ShowStart, MissingPictureAndSoundtrackDoNotStopTheStart) {
    ASSERT_NE(opened.renderContext, nullptr);
    fs::remove(folder / "gfx" / "pic07.png");
    headless::setClockNanoseconds(1'000'000'000);
    // The viewer reads the box for four seconds; the show's time begins after it.
    headless::onMessageBox([](const headless::MessageBoxRecord&) {
        headless::advanceMilliseconds(4'000);
        return IDOK;
    });

    ::testing::internal::CaptureStdout();
    showStart("title");
    const std::string printed = ::testing::internal::GetCapturedStdout();

    EXPECT_NE(printed.find("gfx/pic07.png"), std::string::npos) << printed;
    const Picture& missing = pictureBank->slots[7];
    EXPECT_NE(missing.textureName, 0u);
    EXPECT_EQ(textureHeight(missing.textureName), 0) << "a texture without an image";
    EXPECT_EQ(textureHeight(pictureBank->slots[8].textureName), 9) << "the next slot still loads";

    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].text, "File not found");
    EXPECT_EQ(headless::messageBoxes()[0].caption, "DUDIZA ZA ZUDOVOV");
    EXPECT_EQ(showStartMs, 5'000u);
}

// loadTexture on the headless machine's real OpenGL, its textures read back from OpenGL.
#include "pictures/load_texture.h"
#include "platform/headless/control.h"
#include "tests/pictures/decoding.h"
#include "tests/pictures/png_fixtures.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

struct TextureState {
    GLint magFilter, minFilter, wrapS, wrapT;
    GLint width, height, internalFormat;
};

TextureState boundTexture() {
    TextureState state{};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state.magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &state.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &state.wrapT);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &state.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &state.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &state.internalFormat);
    return state;
}

// Level 0 of the bound texture, top row (t = 0) first, rows back to back.
std::vector<uint8_t> boundTexels(GLenum format, int width, int height) {
    std::vector<uint8_t> texels(size_t(width) * height * (format == GL_RGBA ? 4 : 3));
    GLint packAlignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    return texels;
}

GLint boundName() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

class LoadTexture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(openTestWindow(16, 16).renderContext, nullptr);
        ASSERT_TRUE(writeFixtures(folder.path()));
    }
    void TearDown() override { headless::reset(); }

    std::string path(const std::string& name) const { return folder.file(name + ".png"); }

    // Loads with the decoder's lines kept out of the test's output.
    void load(Picture& slot, const std::string& name) const {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        loadTexture(slot, path(name).c_str());
        testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
    }

    ScratchFolder folder;
};

struct Upload {
    const char* fixture; // "absent": no such file
    GLenum format;       // of the level-0 image; 0: none
    uint32_t width;
    uint32_t height;
    int32_t bitsPerPixel;
    uint32_t intactRows; // leading texel rows that must hold the file's rows
};

void PrintTo(const Upload& upload, std::ostream* out) {
    *out << upload.fixture;
}

const Upload uploads[] = {
    {"rgb8", GL_RGB, 4, 3, 24, 3},
    {"rgba8", GL_RGBA, 4, 3, 32, 3},
    {"rgb8_301x7", GL_RGB, 301, 7, 24, 7},
    {"one_row", GL_RGB, 5, 1, 24, 1},
    {"rgb8_trns", GL_RGB, 4, 3, 24, 3},
    // Grey high and low byte, alpha high and low byte become red, green, blue and alpha.
    {"grey_alpha16", GL_RGBA, 5, 3, 32, 3},
    {"cut_in_image_data", GL_RGB, 64, 64, 24, 30},
    {"interlaced", GL_RGB, 8, 8, 24, 0},
    {"palette1", 0, 16, 2, 1, 0},
    {"palette2", 0, 16, 2, 2, 0},
    {"palette4", 0, 16, 2, 4, 0},
    {"palette8", 0, 16, 2, 8, 0},
    {"grey8", 0, 5, 3, 8, 0},
    {"grey_alpha8", 0, 5, 3, 16, 0},
    {"rgb16", 0, 5, 3, 48, 0},
    {"rgba16", 0, 5, 3, 64, 0},
    {"gif", 0, 0, 0, 0, 0},
    {"signature_tail_wrong", 0, 0, 0, 0, 0},
    {"absent", 0, 0, 0, 0, 0},
};

class Uploaded : public LoadTexture, public testing::WithParamInterface<Upload> {};

} // namespace

TEST_P(Uploaded, TextureHoldsTheImageWhenItIs24Or32Bits) {
    const Upload& expected = GetParam();
    unsigned char notOurs = 0;
    Picture slot{999, 1, 1, 24, &notOurs}; // every field is overwritten, nothing of it released
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    load(slot, expected.fixture);

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(slot.width, expected.width);
    EXPECT_EQ(slot.height, expected.height);
    EXPECT_EQ(slot.bitsPerPixel, expected.bitsPerPixel);
    EXPECT_EQ(slot.pixels, nullptr);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    ASSERT_NE(slot.textureName, 0u);
    EXPECT_NE(slot.textureName, 999u);
    EXPECT_TRUE(glIsTexture(slot.textureName));
    EXPECT_EQ(boundName(), static_cast<GLint>(slot.textureName));

    const TextureState state = boundTexture();
    EXPECT_EQ(state.magFilter, GL_LINEAR);
    EXPECT_EQ(state.minFilter, GL_LINEAR);
    EXPECT_EQ(state.wrapS, GL_REPEAT);
    EXPECT_EQ(state.wrapT, GL_REPEAT);
    if (expected.format == 0) {
        EXPECT_EQ(state.width, 0);
        EXPECT_EQ(state.height, 0);
        return;
    }
    EXPECT_EQ(state.width, static_cast<GLint>(expected.width));
    EXPECT_EQ(state.height, static_cast<GLint>(expected.height));
    EXPECT_EQ(state.internalFormat, static_cast<GLint>(expected.format));
    const std::vector<uint8_t> texels = boundTexels(expected.format, state.width, state.height);
    const size_t intactBytes = texels.size() / expected.height * expected.intactRows;
    const std::vector<uint8_t>& rows = fixture(expected.fixture).rows;
    ASSERT_LE(intactBytes, rows.size());
    EXPECT_TRUE(std::equal(rows.begin(), rows.begin() + intactBytes, texels.begin()));
}

INSTANTIATE_TEST_SUITE_P(LoadTexture, Uploaded, testing::ValuesIn(uploads),
                         [](const auto& info) { return std::string(info.param.fixture); });

TEST_F(LoadTexture, RowsAreTakenAsTheyLieAndThePixelStoreIsLeftAsItWas) {
    const std::vector<uint8_t>& rows = fixture("rgb8_301x7").rows;
    for (GLint alignment : {1, 2, 4, 8}) {
        SCOPED_TRACE(alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        Picture slot{};
        load(slot, "rgb8_301x7");
        EXPECT_EQ(boundTexels(GL_RGB, 301, 7), rows) << "sheared";
        GLint after = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &after);
        EXPECT_EQ(after, alignment);
    }
}

TEST_F(LoadTexture, AfterABankOf35TexturingIsOnAndTheLastTextureIsBound) {
    const std::vector<Fixture>& files = fixtures();
    std::vector<Picture> bank(35);
    for (size_t slot = 0; slot < bank.size(); ++slot)
        load(bank[slot], files[slot % files.size()].name);

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(boundName(), static_cast<GLint>(bank[34].textureName));
    std::set<uint32_t> names;
    for (const Picture& picture : bank) {
        EXPECT_TRUE(glIsTexture(picture.textureName));
        EXPECT_EQ(picture.pixels, nullptr);
        names.insert(picture.textureName);
    }
    EXPECT_EQ(names.size(), bank.size());
}

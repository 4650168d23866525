// readPng on the whole public PngSuite, damaged files included, and against pixel arrays made by
// another decoder.
#include "pictures/read_png.h"
#include "tests/pictures/decoding.h"
#include "tests/pictures/png_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

const std::string suiteFolder = PELVARO_PNGSUITE_DIR;

class PngSuite : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(suiteFolder + "/png"))
            GTEST_SKIP() << "PngSuite not found in " << suiteFolder;
    }

    static std::string file(const std::string& name) {
        return suiteFolder + "/png/" + name + ".png";
    }
};

// What each damaged file gives: the decoder's line, libpng's last line, and whether the header
// was read before the damage was met.
struct Damage {
    const char* line;
    const char* libpngError;
    bool headerRead;
};

const std::map<std::string, Damage> damagedFiles = {
    {"xc1n0g08", {"", "Invalid IHDR data", false}},
    {"xc9n2c08", {"", "Invalid IHDR data", false}},
    {"xcrn0g04", {"", "PNG file corrupted by ASCII conversion", false}},
    {"xcsn0g01", {"", "IDAT: CRC error", true}},
    {"xd0n2c08", {"", "Invalid IHDR data", false}},
    {"xd3n2c08", {"", "Invalid IHDR data", false}},
    {"xd9n2c08", {"", "Invalid IHDR data", false}},
    {"xdtn0g01", {"", "IEND: out of place", false}},
    {"xhdn0g08", {"", "IHDR: CRC error", false}},
    {"xlfn0g04", {"", "PNG file corrupted by ASCII conversion", false}},
    {"xs1n0g01", {"not png", "", false}},
    {"xs2n0g01", {"not png", "", false}},
    {"xs4n0g01", {"not png", "", false}},
    {"xs7n0g01", {"", "PNG file corrupted by ASCII conversion", false}},
};

std::string lastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos)
        return "";
    const size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

// Bits per pixel as the name says: colour type digit at 4, bit depth in digits 6 and 7.
int namedBitsPerPixel(const std::string& name) {
    const std::map<char, int> channels = {{'0', 1}, {'2', 3}, {'3', 1}, {'4', 2}, {'6', 4}};
    return channels.at(name[4]) * std::stoi(name.substr(6, 2));
}

std::vector<uint8_t> referencePixels(const std::string& name) {
    std::ifstream in(suiteFolder + "/json/" + name + ".json");
    std::stringstream text;
    text << in.rdbuf();
    std::string json = text.str();
    std::replace_if(
        json.begin(), json.end(), [](char c) { return !std::isdigit(c); }, ' ');
    std::istringstream numbers(json);
    std::vector<uint8_t> pixels;
    for (int value = 0; numbers >> value;)
        pixels.push_back(static_cast<uint8_t>(value));
    return pixels;
}

std::vector<uint8_t> withoutAlpha(const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i < rgba.size(); ++i)
        if (i % 4 != 3)
            rgb.push_back(rgba[i]);
    return rgb;
}

// The buffer as the record describes it; the sanitizer build stops if it is shorter.
std::vector<uint8_t> wholeBuffer(const Picture& picture) {
    const size_t rowBytes = (size_t{picture.width} * picture.bitsPerPixel + 7) / 8;
    return {picture.pixels, picture.pixels + rowBytes * picture.height};
}

} // namespace

TEST_F(PngSuite, EveryFileDecodesAsItsNameSaysOrReportsItsDamage) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(suiteFolder + "/png"))
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    EXPECT_GE(names.size(), 170u);

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const int descriptors = openDescriptorCount();
        const Decoded decoded = decodeCapturing(file(name));
        const Picture& picture = decoded.picture;
        EXPECT_EQ(openDescriptorCount(), descriptors) << "the file was left open";
        if (name[0] != 'x') {
            EXPECT_EQ(decoded.out, "");
            EXPECT_EQ(decoded.err.find("libpng error"), std::string::npos) << decoded.err;
            EXPECT_GT(picture.width, 0u);
            EXPECT_GT(picture.height, 0u);
            EXPECT_EQ(picture.bitsPerPixel, namedBitsPerPixel(name));
            ASSERT_NE(picture.pixels, nullptr);
            wholeBuffer(picture);
        } else if (damagedFiles.count(name) == 0) {
            ADD_FAILURE() << "a damaged file without an expected outcome";
        } else {
            const Damage& damage = damagedFiles.at(name);
            EXPECT_EQ(decoded.out, *damage.line != 0 ? std::string(damage.line) + "\n" : "");
            EXPECT_EQ(lastLine(decoded.err),
                      *damage.libpngError != 0 ? std::string("libpng error: ") + damage.libpngError
                                               : "");
            EXPECT_EQ(picture.width != 0, damage.headerRead);
            EXPECT_EQ(picture.pixels != nullptr, damage.headerRead);
            if (damage.headerRead) {
                EXPECT_EQ(picture.bitsPerPixel, namedBitsPerPixel(name));
            }
        }
        delete[] picture.pixels;
    }
}

TEST_F(PngSuite, DecodedBytesEqualAnotherDecodersPixels) {
    const struct {
        const char* name;
        bool alpha;
    } cases[] = {{"basn2c08", false}, {"basn6a08", true}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        const std::vector<uint8_t> rgba = referencePixels(each.name);
        ASSERT_EQ(rgba.size(), 32u * 32 * 4);
        const Picture picture = decodeCapturing(file(each.name)).picture;
        ASSERT_NE(picture.pixels, nullptr);
        const std::vector<uint8_t> buffer = wholeBuffer(picture);
        delete[] picture.pixels;
        EXPECT_EQ(buffer, each.alpha ? rgba : withoutAlpha(rgba));
    }
}

TEST_F(PngSuite, InterlacedFileGivesItsPassRowsNotItsPicture) {
    const std::vector<uint8_t> rgb = withoutAlpha(referencePixels("basi2c08"));
    ASSERT_EQ(rgb.size(), 32u * 32 * 3);
    const Decoded decoded = decodeCapturing(file("basi2c08"));
    const Picture& picture = decoded.picture;
    ASSERT_NE(picture.pixels, nullptr);
    const std::vector<uint8_t> buffer = wholeBuffer(picture);
    delete[] picture.pixels;
    EXPECT_EQ(decoded.out, "");
    EXPECT_EQ(picture.width, 32u);
    EXPECT_EQ(picture.height, 32u);
    EXPECT_EQ(picture.bitsPerPixel, 24);

    EXPECT_NE(buffer, rgb);
    const auto passRows = interlacedRows(rgb, 32, 32, 3);
    for (size_t row = 0; row < 32; ++row) {
        SCOPED_TRACE(row);
        const auto start = buffer.begin() + static_cast<std::ptrdiff_t>(row * 32 * 3);
        EXPECT_TRUE(std::equal(passRows[row].begin(), passRows[row].end(), start));
    }
}

// readPng on files written by libpng of every kind, on broken files and on files that are not
// there: the line it prints, the record it gives, the stream it closes.
#include "pictures/read_png.h"
#include "tests/pictures/decoding.h"
#include "tests/pictures/png_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Expected {
    const char* fixture;
    const char* line;       // the decoder's own, on standard output
    const char* libpngText; // libpng's lines, on standard error
    uint32_t width;
    uint32_t height;
    int32_t bitsPerPixel;
    size_t bufferBytes;
    std::vector<uint8_t> firstBytes;
    uint32_t intactRows; // leading rows that must hold the encoded ones
};

void PrintTo(const Expected& expected, std::ostream* out) {
    *out << expected.fixture;
}

std::string lineOf(const char* text) {
    return *text != 0 ? std::string(text) + "\n" : "";
}

// Every fixture holds the same byte pattern, so that the first bytes read alike; rows, sizes and
// the line printed tell the kinds apart.
const Expected fixtureCases[] = {
    {"rgb8", "", "", 4, 3, 24, 36, {0x07, 0x24, 0x41, 0x5e, 0x7b, 0x98}, 3},
    {"rgba8", "", "", 4, 3, 32, 48, {0x07, 0x24, 0x41, 0x5e, 0x7b, 0x98, 0xb5, 0xd2}, 3},
    {"palette1", "", "", 16, 2, 1, 4, {0x07, 0x24}, 2},
    {"palette2", "", "", 16, 2, 2, 8, {0x07, 0x24, 0x41, 0x5e}, 2},
    {"palette4", "", "", 16, 2, 4, 16, {0x07, 0x24, 0x41, 0x5e}, 2},
    {"palette8", "", "", 16, 2, 8, 32, {0x07, 0x24, 0x41, 0x5e}, 2},
    {"grey8", "", "", 5, 3, 8, 15, {0x07, 0x24, 0x41}, 3},
    {"grey_alpha8", "", "", 5, 3, 16, 30, {0x07, 0x24, 0x41, 0x5e}, 3},
    {"grey_alpha16", "", "", 5, 3, 32, 60, {0x07, 0x24, 0x41, 0x5e}, 3},
    {"rgb16", "", "", 5, 3, 48, 90, {0x07, 0x24, 0x41, 0x5e, 0x7b, 0x98}, 3},
    {"rgba16", "", "", 5, 3, 64, 120, {0x07, 0x24, 0x41, 0x5e, 0x7b, 0x98, 0xb5, 0xd2}, 3},
    // Its first row is the first pass's: the top-left pixel alone.
    {"interlaced",
     "",
     "libpng warning: IDAT: Too much image data\n",
     8,
     8,
     24,
     192,
     {0x07, 0x24, 0x41},
     0},
    {"one_row", "", "", 5, 1, 24, 15, {0x07, 0x24, 0x41, 0x5e, 0x7b, 0x98}, 1},
    {"rgb8_301x7", "", "", 301, 7, 24, 6321, {0x07, 0x24, 0x41}, 7},
    {"rgb8_trns", "", "", 4, 3, 24, 36, {0x07, 0x24, 0x41}, 3},
    {"rgb8_gamma_text", "", "", 4, 3, 24, 36, {0x07, 0x24, 0x41}, 3},
    // Cut in the middle of its image data: the rows wholly before the cut are there.
    {"cut_in_image_data",
     "",
     "libpng error: Read Error\n",
     64,
     64,
     24,
     12288,
     {0x07, 0x24, 0x41},
     30},
    {"cut_in_header", "", "libpng error: Read Error\n", 0, 0, 0, 0, {}, 0},
    {"signature_tail_wrong",
     "",
     "libpng error: PNG file corrupted by ASCII conversion\n",
     0,
     0,
     0,
     0,
     {},
     0},
    {"three_bytes", "read error", "", 0, 0, 0, 0, {}, 0},
    {"gif", "not png", "", 0, 0, 0, 0, {}, 0},
    {"jpeg", "not png", "", 0, 0, 0, 0, {}, 0},
    // 30 GB of pixels: refused before any allocation, nothing read past the header.
    {"claims_100000x100000", "picture too large", "", 0, 0, 0, 0, {}, 0},
    {"claims_2pow31_rows",
     "",
     "libpng error: PNG unsigned integer out of range\n",
     0,
     0,
     0,
     0,
     {},
     0},
};

class FixtureFile : public testing::TestWithParam<Expected> {};

} // namespace

TEST_P(FixtureFile, DecodesToItsRecordWithItsLine) {
    const Expected& expected = GetParam();
    ScratchFolder folder;
    const std::string path = folder.file("picture.png");
    ASSERT_TRUE(writeFile(path, fixture(expected.fixture).file));
    const int descriptors = openDescriptorCount();

    const Decoded decoded = decodeCapturing(path);
    const Picture& picture = decoded.picture;

    EXPECT_EQ(openDescriptorCount(), descriptors) << "the file was left open";
    EXPECT_EQ(decoded.out, lineOf(expected.line));
    EXPECT_EQ(decoded.err, expected.libpngText);
    EXPECT_EQ(picture.textureName, 0u);
    EXPECT_EQ(picture.width, expected.width);
    EXPECT_EQ(picture.height, expected.height);
    EXPECT_EQ(picture.bitsPerPixel, expected.bitsPerPixel);
    ASSERT_EQ(picture.pixels != nullptr, expected.bufferBytes != 0);
    if (picture.pixels == nullptr)
        return;
    // Copying the whole buffer stops the sanitizer build if it is shorter than claimed.
    const std::vector<uint8_t> buffer(picture.pixels, picture.pixels + expected.bufferBytes);
    delete[] picture.pixels;
    EXPECT_TRUE(std::equal(expected.firstBytes.begin(), expected.firstBytes.end(), buffer.begin()));
    const size_t intactBytes = expected.bufferBytes / expected.height * expected.intactRows;
    const std::vector<uint8_t>& encoded = fixture(expected.fixture).rows;
    ASSERT_LE(intactBytes, encoded.size());
    EXPECT_TRUE(std::equal(encoded.begin(), encoded.begin() + intactBytes, buffer.begin()));
}

INSTANTIATE_TEST_SUITE_P(ReadPng, FixtureFile, testing::ValuesIn(fixtureCases),
                         [](const auto& info) { return std::string(info.param.fixture); });

TEST(ReadPng, PathThatIsNoReadableFileGivesOneLineAndAZeroRecord) {
    ScratchFolder folder;
    const struct {
        std::string path;
        std::string line;
    } cases[] = {
        {folder.file("absent.png"), "cannot open " + folder.file("absent.png") + "\n"},
        {folder.path(), "read error\n"}, // a folder opens, but nothing can be read from it
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.path);
        const int descriptors = openDescriptorCount();
        const Decoded decoded = decodeCapturing(each.path);
        EXPECT_EQ(openDescriptorCount(), descriptors);
        EXPECT_EQ(decoded.out, each.line);
        EXPECT_EQ(decoded.err, "");
        EXPECT_EQ(decoded.picture.width, 0u);
        EXPECT_EQ(decoded.picture.height, 0u);
        EXPECT_EQ(decoded.picture.bitsPerPixel, 0);
        EXPECT_EQ(decoded.picture.pixels, nullptr);
    }
}

TEST(ReadPng, InterlacedFileGivesThePassRowsInFileOrder) {
    const Fixture& interlaced = fixture("interlaced");
    ScratchFolder folder;
    const std::string path = folder.file("interlaced.png");
    ASSERT_TRUE(writeFile(path, interlaced.file));
    const Picture picture = decodeCapturing(path).picture;
    ASSERT_NE(picture.pixels, nullptr);
    const std::vector<uint8_t> buffer(picture.pixels, picture.pixels + interlaced.rows.size());
    delete[] picture.pixels;

    EXPECT_NE(buffer, interlaced.rows) << "the picture was de-interlaced";
    const auto passRows = interlacedRows(interlaced.rows, 8, 8, 3);
    for (size_t row = 0; row < 8; ++row) {
        SCOPED_TRACE(row);
        const auto start = buffer.begin() + static_cast<std::ptrdiff_t>(row * 8 * 3);
        EXPECT_TRUE(std::equal(passRows[row].begin(), passRows[row].end(), start));
    }
}

// A picture whose pixel buffer the allocator refuses: one line, a zero record, nothing left open.
#include "tests/pictures/decoding.h"
#include "tests/pictures/png_fixtures.h"
#include "tests/support/refusing_allocator.h"

#include <gtest/gtest.h>

TEST(ReadPngOutOfMemory, RefusedPixelBufferGivesOneLineAndAZeroRecord) {
    ScratchFolder folder;
    const std::string path = folder.file("picture.png");
    ASSERT_TRUE(writeFile(path, fixture("rgb8").file));
    const int descriptors = openDescriptorCount();

    refuseArrays = true;
    const Decoded decoded = decodeCapturing(path);
    refuseArrays = false;

    EXPECT_EQ(openDescriptorCount(), descriptors);
    EXPECT_EQ(decoded.out, "out of memory\n");
    EXPECT_EQ(decoded.err, "");
    EXPECT_EQ(decoded.picture.width, 0u);
    EXPECT_EQ(decoded.picture.height, 0u);
    EXPECT_EQ(decoded.picture.bitsPerPixel, 0);
    EXPECT_EQ(decoded.picture.pixels, nullptr);
}

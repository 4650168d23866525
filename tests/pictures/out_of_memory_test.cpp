// A picture whose pixel buffer the allocator refuses: one line, a zero record, nothing left open.
#include "tests/pictures/decoding.h"
#include "tests/pictures/png_fixtures.h"

#include <gtest/gtest.h>

#include <new>

namespace {

bool refuseArrays = false;

} // namespace

// The decoder asks for its buffer without exceptions; this binary can make that request fail.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseArrays)
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

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

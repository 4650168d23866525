#include "pictures/read_png.h"

#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>

namespace {

constexpr size_t signatureBytesChecked = 4;

// Larger pixel buffers are refused without asking the allocator: no texture needs one, a header
// that claims one is damaged or hostile, and overcommitted memory could be handed out only to
// run out while the rows are written.
constexpr size_t largestBuffer = INT_MAX;

// What a jump back from libpng must find as last written: kept in the caller's frame, outside
// the function that sets the recovery point, whose own locals the jump may leave stale.
struct Decoding {
    FILE* stream;
    png_structp png;
    png_infop info;
    Picture picture;
};

int channels(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default: // grey, palette indices
        return 1;
    }
}

void decodeImage(Decoding& decoding) {
    png_structp png = decoding.png;
    png_infop info = decoding.info;
    Picture& picture = decoding.picture;
    if (setjmp(png_jmpbuf(png)))
        return;
    png_init_io(png, decoding.stream);
    png_set_sig_bytes(png, signatureBytesChecked);
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    picture.width = width;
    picture.height = height;
    picture.bitsPerPixel = channels(colourType) * bitDepth;
    const size_t rowBytes = png_get_rowbytes(png, info);
    size_t bufferBytes = 0;
    if (__builtin_mul_overflow(rowBytes, height, &bufferBytes) || bufferBytes > largestBuffer) {
        std::puts("picture too large");
        picture = {};
        return;
    }
    picture.pixels = new (std::nothrow) unsigned char[bufferBytes];
    if (picture.pixels == nullptr) {
        std::puts("out of memory");
        picture = {};
        return;
    }
    for (png_uint_32 row = 0; row < height; ++row)
        png_read_row(png, picture.pixels + row * rowBytes, nullptr);
    png_read_end(png, info);
}

Picture readStream(FILE* stream) {
    png_byte signature[signatureBytesChecked];
    if (std::fread(signature, 1, sizeof(signature), stream) < sizeof(signature)) {
        std::puts("read error");
        return {};
    }
    if (png_sig_cmp(signature, 0, sizeof(signature)) != 0) {
        std::puts("not png");
        return {};
    }
    Decoding decoding{stream, nullptr, nullptr, {}};
    decoding.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (decoding.png == nullptr) {
        std::puts("png_create_read_struct");
        return {};
    }
    decoding.info = png_create_info_struct(decoding.png);
    if (decoding.info == nullptr) {
        std::puts("png_create_info_struct");
        png_destroy_read_struct(&decoding.png, nullptr, nullptr);
        return {};
    }
    decodeImage(decoding);
    png_destroy_read_struct(&decoding.png, &decoding.info, nullptr);
    return decoding.picture;
}

} // namespace

Picture readPng(const char* fileName) {
    FILE* stream = std::fopen(fileName, "rb");
    if (stream == nullptr) {
        std::printf("cannot open %s\n", fileName);
        return {};
    }
    const Picture picture = readStream(stream);
    std::fclose(stream);
    return picture;
}

#include "tests/pictures/png_fixtures.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

enum class Extra { none, transparency, gammaAndText };

struct Image {
    uint32_t width;
    uint32_t height;
    int colourType;
    int bitDepth;
    bool interlaced = false;
    Extra extra = Extra::none;
    // Stored (uncompressed) image data cut into chunks of this size; 0: libpng's defaults.
    size_t storedChunkBytes = 0;
};

int channels(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

// Bytes that differ from their neighbours along a row and from row to row, so that a shifted,
// sheared or swapped sample shows. Any byte is a valid packed palette index: the fixtures'
// palettes are full.
std::vector<uint8_t> pattern(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>((i * 29 + 7) % 251);
    return bytes;
}

[[noreturn]] void stopOnError(png_structp, png_const_charp message) {
    std::fprintf(stderr, "a fixture could not be encoded: %s\n", message);
    std::abort();
}

void append(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

std::vector<uint8_t> encode(const Image& image, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, append, nullptr);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(size_t{1} << image.bitDepth);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i),
                      static_cast<png_byte>(i * 3)};
    if (image.colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 key{0, rows[0], rows[1], rows[2], 0}; // the first pixel's colour
    if (image.extra == Extra::transparency)
        png_set_tRNS(png, info, nullptr, 0, &key);
    char gamma[] = "gamma", gammaText[] = "0.45455", title[] = "Title", titleText[] = "Fixture";
    png_text texts[2] = {};
    texts[0] = {PNG_TEXT_COMPRESSION_NONE, gamma, gammaText, 7, 0, nullptr, nullptr};
    texts[1] = {PNG_TEXT_COMPRESSION_zTXt, title, titleText, 7, 0, nullptr, nullptr};
    if (image.extra == Extra::gammaAndText) {
        png_set_gAMA_fixed(png, info, 45455);
        png_set_text(png, info, texts, 2);
    }
    if (image.storedChunkBytes != 0) {
        png_set_compression_level(png, 0);
        png_set_compression_buffer_size(png, image.storedChunkBytes);
    }
    png_write_info(png, info);
    const size_t rowBytes = rows.size() / image.height;
    std::vector<png_bytep> rowPointers(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rowPointers[y] = const_cast<png_bytep>(rows.data() + y * rowBytes);
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Fixture encoded(const char* name, const Image& image) {
    const size_t bits = size_t{image.width} * channels(image.colourType) * image.bitDepth;
    std::vector<uint8_t> rows = pattern((bits + 7) / 8 * image.height);
    return {name, encode(image, rows), rows, image.width, image.height};
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, static_cast<uint32_t>(crc32(0, out.data() + start, out.size() - start)));
}

// A file whose header claims what no encoder would write, with a little image data after it.
std::vector<uint8_t> claimedHeader(uint32_t width, uint32_t height, uint8_t colourType) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    putChunk(out, "IHDR", header);
    const uint8_t zeros[64] = {};
    std::vector<uint8_t> data(compressBound(sizeof(zeros)));
    uLongf length = data.size();
    compress(data.data(), &length, zeros, sizeof(zeros));
    data.resize(length);
    putChunk(out, "IDAT", data);
    putChunk(out, "IEND", {});
    return out;
}

Fixture damaged(const char* name, std::vector<uint8_t> file) {
    return {name, std::move(file), {}, 0, 0};
}

std::vector<Fixture> makeFixtures() {
    std::vector<Fixture> made = {
        encoded("rgb8", {4, 3, PNG_COLOR_TYPE_RGB, 8}),
        encoded("rgba8", {4, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8}),
        encoded("palette1", {16, 2, PNG_COLOR_TYPE_PALETTE, 1}),
        encoded("palette2", {16, 2, PNG_COLOR_TYPE_PALETTE, 2}),
        encoded("palette4", {16, 2, PNG_COLOR_TYPE_PALETTE, 4}),
        encoded("palette8", {16, 2, PNG_COLOR_TYPE_PALETTE, 8}),
        encoded("grey8", {5, 3, PNG_COLOR_TYPE_GRAY, 8}),
        encoded("grey_alpha8", {5, 3, PNG_COLOR_TYPE_GRAY_ALPHA, 8}),
        encoded("grey_alpha16", {5, 3, PNG_COLOR_TYPE_GRAY_ALPHA, 16}),
        encoded("rgb16", {5, 3, PNG_COLOR_TYPE_RGB, 16}),
        encoded("rgba16", {5, 3, PNG_COLOR_TYPE_RGB_ALPHA, 16}),
        encoded("interlaced", {8, 8, PNG_COLOR_TYPE_RGB, 8, true}),
        encoded("one_row", {5, 1, PNG_COLOR_TYPE_RGB, 8}),
        encoded("rgb8_301x7", {301, 7, PNG_COLOR_TYPE_RGB, 8}),
        encoded("rgb8_trns", {4, 3, PNG_COLOR_TYPE_RGB, 8, false, Extra::transparency}),
        encoded("rgb8_gamma_text", {4, 3, PNG_COLOR_TYPE_RGB, 8, false, Extra::gammaAndText}),
    };
    Fixture cut =
        encoded("cut_in_image_data", {64, 64, PNG_COLOR_TYPE_RGB, 8, false, Extra::none, 512});
    cut.file.resize(cut.file.size() / 2);
    made.push_back(cut);

    const std::vector<uint8_t>& whole = made[0].file;
    made.push_back(damaged("cut_in_header", {whole.begin(), whole.begin() + 20}));
    std::vector<uint8_t> converted = whole; // the "\r\n" of the signature made "\n"
    converted.erase(converted.begin() + 4);
    made.push_back(damaged("signature_tail_wrong", converted));
    made.push_back(damaged("three_bytes", {0x89, 'P', 'N'}));
    made.push_back(damaged("gif", {'G', 'I', 'F', '8', '9', 'a', 4, 0, 3, 0, 0x80, 0, 0}));
    made.push_back(damaged("jpeg", {0xff, 0xd8, 0xff, 0xe0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1}));
    made.push_back(damaged("claims_100000x100000", claimedHeader(100000, 100000, 2)));
    made.push_back(damaged("claims_2pow31_rows", claimedHeader(1, 0x80000000u, 0)));
    return made;
}

} // namespace

const std::vector<Fixture>& fixtures() {
    static const std::vector<Fixture> all = makeFixtures();
    return all;
}

const Fixture& fixture(const std::string& name) {
    for (const Fixture& candidate : fixtures())
        if (candidate.name == name)
            return candidate;
    std::fprintf(stderr, "no fixture named %s\n", name.c_str());
    std::abort();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool writeFixtures(const std::string& folder) {
    for (const Fixture& each : fixtures())
        if (!writeFile(folder + "/" + each.name + ".png", each.file))
            return false;
    return true;
}

std::vector<std::vector<uint8_t>> interlacedRows(const std::vector<uint8_t>& image, uint32_t width,
                                                 uint32_t height, size_t bytesPerPixel) {
    struct Pass {
        uint32_t x, y, xStep, yStep;
    };
    const Pass passes[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::vector<std::vector<uint8_t>> rows;
    for (const Pass& pass : passes) {
        if (pass.x >= width) // a pass without pixels has no rows in the file
            continue;
        for (uint32_t y = pass.y; y < height; y += pass.yStep) {
            std::vector<uint8_t>& row = rows.emplace_back();
            for (uint32_t x = pass.x; x < width; x += pass.xStep) {
                const uint8_t* pixel = image.data() + (size_t{y} * width + x) * bytesPerPixel;
                row.insert(row.end(), pixel, pixel + bytesPerPixel);
            }
        }
    }
    return rows;
}

// PNG files of every kind the decoder meets, written with libpng, and broken ones made from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Fixture {
    std::string name;
    std::vector<uint8_t> file;
    // The rows handed to the encoder, back to back and in the file's sample order: what a
    // complete decode gives for a non-interlaced image. Empty where no image was encoded.
    std::vector<uint8_t> rows;
    uint32_t width = 0;
    uint32_t height = 0;
};

// Every fixture, in a fixed order: images of each colour type and depth, images with extra
// chunks, and files cut, damaged or of other formats.
const std::vector<Fixture>& fixtures();
const Fixture& fixture(const std::string& name);

// Writes every fixture into the folder as <name>.png; false when a file could not be written.
bool writeFixtures(const std::string& folder);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// The rows of an Adam7-interlaced image in the order its file stores them: the rows of each
// pass, top down, each holding that pass's pixels of the row, left to right. The image is given
// de-interlaced, rows back to back.
std::vector<std::vector<uint8_t>> interlacedRows(const std::vector<uint8_t>& image, uint32_t width,
                                                 uint32_t height, size_t bytesPerPixel);

// One decoded picture and, once uploaded, its OpenGL texture.
#pragma once

#include <cstdint>

// A plain value: copies share the pixel buffer, which the texture upload releases once.
struct Picture {
    uint32_t textureName;
    uint32_t width;
    uint32_t height;
    int32_t bitsPerPixel;
    unsigned char* pixels; // height rows back to back, samples as the file stores them
};

#include "pictures/load_texture.h"

#include "pictures/read_png.h"
#include "platform/opengl.h"

namespace {

GLenum uploadFormat(int32_t bitsPerPixel) {
    if (bitsPerPixel == 24)
        return GL_RGB;
    if (bitsPerPixel == 32)
        return GL_RGBA;
    return 0;
}

} // namespace

void loadTexture(Picture& slot, const char* fileName) {
    slot = readPng(fileName);
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &slot.textureName);
    glBindTexture(GL_TEXTURE_2D, slot.textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    const GLenum format = uploadFormat(slot.bitsPerPixel);
    if (format != 0) {
        // The rows lie back to back, where OpenGL would start each on a 4-byte boundary: a
        // 24-bit picture of any other width would come out sheared and be read past its end.
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), static_cast<GLsizei>(slot.width),
                     static_cast<GLsizei>(slot.height), 0, format, GL_UNSIGNED_BYTE, slot.pixels);
        glPopClientAttrib();
    }
    delete[] slot.pixels;
    slot.pixels = nullptr;
}

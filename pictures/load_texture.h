// PNG files turned into OpenGL textures.
#pragma once

#include "pictures/picture.h"

// Decodes the file into the slot, gives it a new bound texture with linear filters and repeat
// wrapping, uploads 24- and 32-bit pictures as RGB and RGBA, and releases the pixel buffer.
// Every other picture, a failed one included, gets a texture without an image. Needs a current
// OpenGL context; leaves 2D texturing on.
void loadTexture(Picture& slot, const char* fileName);

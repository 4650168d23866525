// PNG files decoded into Pictures.
#pragma once

#include "pictures/picture.h"

// Decodes one PNG file with no transformation at all. A failure is reported by one line on
// standard output (libpng's own go to standard error) and still gives a record: all zero when
// nothing of the image was read, else what was read so far. The buffer, allocated with new[],
// belongs to the caller.
Picture readPng(const char* fileName);

// The show's start-up: the picture bank filled, the music started, the clock set going.
#pragma once

#include "pictures/picture.h"

constexpr int pictureCount = 35;

// The show's pictures, slot n from gfx/picNN.png, in one allocation made at start-up.
struct PictureBank {
    Picture slots[pictureCount];
};

// The one bank, published by showStart; null before it.
extern PictureBank* pictureBank;

// The host's start-up hook: loads every picture, starts the soundtrack, then the show clock.
void showStart(const char* title);

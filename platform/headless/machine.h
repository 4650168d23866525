// State of the headless machine shared by its parts.
#pragma once

#include "platform/headless/control.h"

namespace headless {

bool failing(Failure failure);
// Runs the swap handler, if any.
void swapped(HWND window);
// Closes the audio output and every stream of the sound library.
void resetAudio();

} // namespace headless

// The clocks, and the call trace that this backend does not keep.
#include "platform/core/backend.h"

#include <SDL.h>

namespace backend {

int64_t counterFrequency() {
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

int64_t counter() {
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

// Milliseconds of a steady clock, wrapping at 2^32 as the platform's does.
uint32_t milliseconds() {
    return static_cast<uint32_t>(SDL_GetTicks64());
}

void noteCall(const char*) {}

} // namespace backend

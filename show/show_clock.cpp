#include "show/show_clock.h"

#include "platform/win32.h"

uint32_t showStartMs;

bool isPastMs(uint32_t t) {
    // The elapsed time, not the end time, is compared: unsigned subtraction stays right when the
    // clock wraps (every 49.7 days) while the show runs.
    const uint32_t elapsed = timeGetTime() - showStartMs;
    return elapsed > t;
}

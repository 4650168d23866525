// The show clock: milliseconds since the show began, read afresh at every question.
#pragma once

#include <cstdint>

// The millisecond clock's reading when the show began; 0 until then.
extern uint32_t showStartMs;

// True once more than t milliseconds have passed since the show began.
bool isPastMs(uint32_t t);

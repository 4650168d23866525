// A folder holding what the show loads: gfx/pic00.png .. gfx/pic34.png and soundtrack.mp3.
#pragma once

#include <filesystem>

// Slot n's picture is 4 pixels wide and n + 1 high, so that its texture tells where it came from.
bool writeSlotPicture(const std::filesystem::path& file, int slot);
// Every slot's picture, and a soundtrack of a 440 Hz tone of the given length unless it is 0.
bool writeShowMedia(const std::filesystem::path& folder, double soundtrackSeconds);

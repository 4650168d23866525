#include "tests/show/show_media.h"

#include "show/show_start.h"
#include "tests/sound/mp3_files.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool writeSlotPicture(const std::filesystem::path& file, int slot) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 4;
    image.height = static_cast<png_uint_32>(slot + 1);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(image.width * image.height * 3, static_cast<png_byte>(slot * 7));
    return png_image_write_to_file(&image, file.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

bool writeShowMedia(const std::filesystem::path& folder, double soundtrackSeconds) {
    std::error_code error;
    std::filesystem::create_directories(folder / "gfx", error);
    for (int slot = 0; slot < pictureCount; ++slot) {
        char name[16];
        std::snprintf(name, sizeof(name), "pic%02d.png", slot);
        if (!writeSlotPicture(folder / "gfx" / name, slot))
            return false;
    }
    if (soundtrackSeconds == 0)
        return true;
    return writeMp3(folder / "soundtrack.mp3", sineTone(440, 44100, soundtrackSeconds), 44100, 1);
}

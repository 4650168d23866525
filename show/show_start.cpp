#include "show/show_start.h"

#include "pictures/load_texture.h"
#include "platform/opengl.h"
#include "show/show_clock.h"
#include "sound/soundtrack.h"

#include <cstdio>
#include <new>

PictureBank* pictureBank;

void showStart(const char*) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    pictureBank = new (std::nothrow) PictureBank{};
    if (pictureBank == nullptr) {
        // Without its pictures there is no show: end the run before its first frame.
        MessageBoxA(nullptr, "Not enough memory for the pictures.", "ERROR!",
                    MB_OK | MB_ICONWARNING);
        PostQuitMessage(-1);
        return;
    }
    for (int slot = 0; slot < pictureCount; ++slot) {
        char fileName[16];
        std::snprintf(fileName, sizeof(fileName), "gfx/pic%02d.png", slot);
        loadTexture(pictureBank->slots[slot], fileName);
    }

    startSoundtrack();
    // Loading time and any sound failure box fall before the show's time zero.
    showStartMs = timeGetTime();
    glClearColor(1, 1, 1, 0);
}

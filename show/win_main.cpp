// The entry: one host with the show's settings, the show's hooks, and the run's result as the
// process's exit code.
#include "host/demo_system.h"
#include "show/show_start.h"

#include <new>

namespace {

// Until the timeline is in, every frame is cleared to the show's background.
void clearFrame(const char*) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    demoSystem = new (std::nothrow) DemoSystem(640, 480, 32, 16, 1, "Pelvaro, fast-intro", "");
    if (demoSystem == nullptr) {
        MessageBoxA(nullptr, "Not enough memory to start.", "ERROR!", MB_OK | MB_ICONWARNING);
        return -1;
    }
    // The setup dialog is not in yet: the run goes straight to the window.
    demoSystem->showSetupDialog = 0;
    demoSystem->initCallback = showStart;
    demoSystem->frameCallback = clearFrame;
    return demoSystem->run();
}

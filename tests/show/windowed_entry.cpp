// The show's entry with one change, for the desktop tests: a windowed run, whose title shows the
// frame rate. The real program takes windowed mode from its setup dialog.
#include "host/demo_system.h"
#include "show/show_start.h"

namespace {

void clearFrame(const char*) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    demoSystem = new DemoSystem(640, 480, 32, 16, 0, "Pelvaro, fast-intro", "");
    demoSystem->initCallback = showStart;
    demoSystem->frameCallback = clearFrame;
    return demoSystem->run();
}

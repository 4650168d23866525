// A window with a current OpenGL context on the headless machine, for tests that draw.
#pragma once

#include "platform/opengl.h"

struct TestWindow {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC renderContext = nullptr;
};

// Resets the machine and opens a window of the given client size with a double-buffered RGBA
// format; fails the calling test (and returns an empty record) when no context can be had.
TestWindow openTestWindow(int width, int height, int colourBits = 32, int depthBits = 16);

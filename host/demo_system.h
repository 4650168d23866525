// The demo host: a small framework that knows nothing of the show. It opens the window and the
// OpenGL context, runs the message loop with its frame timer and calls the show's two hooks.
#pragma once

#include "host/settings.h"
#include "platform/opengl.h"

#include <cstddef>
#include <cstdint>

// A hook gets the decorated title; the show may ignore it.
typedef void (*DemoCallback)(const char* title);

class DemoSystem {
public:
    DemoSystem(uint32_t width, uint32_t height, uint32_t colour, uint32_t depth,
               int32_t fullscreenMode, const char* title, const char* commandLine);

    int32_t run();
    int showCommandLineHelp(const char* text);

    int enterFullscreenMode();
    int setupPixelFormat();
    void setupProjection();
    BOOL readCounterFrequency();
    double measureFrame(double& seconds);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Nothing moves before the first measured frame.
    double frameSeconds = 0.0;
    char* textBuffer;
    int32_t showSetupDialog;
    DemoCallback initCallback = nullptr;
    DemoCallback frameCallback = nullptr;
    MSG lastMessage{};
    HDC deviceContext = nullptr;
    HGLRC renderContext = nullptr;
    double ticksPerSecond = 0.0;
    double framesPerSecond = 0.0;
    // Zero, so the first frame is measured from the counter's origin: longer than a second on
    // any running machine, which gives that frame the tiny step of a stalled one.
    int64_t currentCount = 0;
    int64_t previousCount = 0;
    int64_t counterFrequency = 0;

private:
    int32_t openWindow(HINSTANCE instance);
    void mainLoop();
    void teardown(HINSTANCE instance);
};

// The one host, set by the entry.
extern DemoSystem* demoSystem;

// The size of the host's work buffer.
constexpr size_t textBufferSize = 1200;

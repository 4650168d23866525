#include "host/demo_system.h"

#include <cstdio>
#include <new>

DemoSystem* demoSystem;

namespace {

const char helpText[] = "Demo parameters (*NOT* IMPLEMENTED)\n\n"
                        "[-windowed] run windowed                 \n"
                        "[-fullscreen] run fullscreen             \n"
                        "[-z16] 16bits zbuffer                    \n"
                        "[-z32] 32bits zbuffer                    \n"
                        "[-16] 16bits graphics mode               \n"
                        "[-32] 32bits graphics mode               \n"
                        "[-640x480] graphics mode 640x480         \n"
                        "[-800x600] graphics mode 800x600         \n"
                        "[-1024x768] graphics mode 1024x768       \n"
                        "[-1280x1024] graphics mode 1280x1024     \n";

// Copies at most what the destination holds, always terminated.
template <size_t size> void copyText(char (&destination)[size], const char* source) {
    std::snprintf(destination, size, "%s", source);
}

} // namespace

DemoSystem::DemoSystem(uint32_t width, uint32_t height, uint32_t colour, uint32_t depth,
                       int32_t fullscreenMode, const char* title, const char* commandLine) {
    screenWidth = width;
    screenHeight = height;
    colourBits = colour;
    depthBits = depth;
    fullscreen = fullscreenMode;
    fieldOfView = 50.0f;
    nearPlane = 1.0f;
    farPlane = 1000.0f;
    // Null when memory is short; run then stops before anything is made.
    textBuffer = new (std::nothrow) char[textBufferSize];
    showSetupDialog = 0;
    copyText(commandLineText, commandLine);
    copyText(titleText, title);
}

int DemoSystem::showCommandLineHelp(const char* text) {
    if (text[0] == '\0')
        return 0;
    std::snprintf(textBuffer, textBufferSize, "%s", helpText);
    MessageBoxA(nullptr, textBuffer, "commandline help", MB_OK | MB_ICONINFORMATION);
    return 1;
}

int32_t DemoSystem::run() {
    if (textBuffer == nullptr) {
        MessageBoxA(nullptr, "Not enough memory to start.", "ERROR!", MB_OK | MB_ICONWARNING);
        return -1;
    }
    if (showCommandLineHelp(commandLineText))
        return -1;
    if (!running)
        return -1;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (int32_t failure = openWindow(instance))
        return failure;
    readCounterFrequency();
    initCallback(titleText);
    mainLoop();
    teardown(instance);
    return static_cast<int32_t>(lastMessage.wParam);
}

// The message loop, the frame timer and the window procedure.
#include "host/demo_system.h"

#include <cstdio>

BOOL DemoSystem::readCounterFrequency() {
    LARGE_INTEGER frequency;
    const BOOL result = QueryPerformanceFrequency(&frequency);
    counterFrequency = frequency.QuadPart;
    ticksPerSecond = static_cast<double>(counterFrequency);
    return result;
}

double DemoSystem::measureFrame(double& seconds) {
    previousCount = currentCount;
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    currentCount = count.QuadPart;
    if (ticksPerSecond == 0.0)
        return 0.0;
    const int64_t ticks = currentCount - previousCount;
    if (ticks == 0)
        return 0.0;
    const double measured = static_cast<double>(ticks) / ticksPerSecond;
    seconds = measured;
    // After a stall the show steps on by almost nothing rather than jumping.
    if (measured > 1.0)
        seconds = 1e-7;
    return measured == 0.0 ? 0.0 : 1.0 / measured;
}

void DemoSystem::mainLoop() {
    while (running) {
        if (PeekMessageA(&lastMessage, nullptr, 0, 0, PM_REMOVE)) {
            if (lastMessage.message == WM_QUIT) {
                running = 0;
                break;
            }
            DispatchMessageA(&lastMessage);
            continue;
        }
        framesPerSecond = measureFrame(frameSeconds);
        frameCallback(titleText);
        if (!fullscreen) {
            std::snprintf(textBuffer, textBufferSize, "%s [fps: %5.2f]", titleText,
                          framesPerSecond);
            SetWindowTextA(windowHandle, textBuffer);
        }
        SwapBuffers(deviceContext);
    }
}

LRESULT CALLBACK DemoSystem::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam == VK_ESCAPE)
            PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// How tests and tools steer the headless machine: its clock, its input, its display, what it
// showed and what it drew. Nothing else of the headless backend is meant to be included.
#pragma once

#include "platform/opengl.h"
#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace headless {

// The virtual clock. It starts at zero and moves only when told; timeGetTime is its milliseconds
// modulo 2^32 and QueryPerformanceCounter its ticks at counterFrequency.
void setClockNanoseconds(int64_t nanoseconds);
int64_t clockNanoseconds();
void advanceNanoseconds(int64_t nanoseconds);
void advanceMilliseconds(int64_t milliseconds);
// The performance counter's frequency in ticks per second; 10 MHz unless set (0: no counter).
void setCounterFrequency(int64_t ticksPerSecond);
// Pins the performance counter to a value, whatever the clock says, until the next reset.
void pinCounter(int64_t ticks);

// Input, delivered to the focused window (else the newest) at the next PeekMessageA.
void pressKey(WPARAM virtualKey, bool down, bool alt = false);
void requestClose();
void postToWindow(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// What the modal loop of the layer does when it has nothing to take: the handler may queue
// input; without one, waiting with an empty queue is a scripting fault and aborts the test.
void onIdleWait(std::function<void()> handler);

// Message boxes are recorded, not shown. The handler, if any, runs while the box is "open" (it
// may move the clock, say) and gives the button pressed; without one every box answers IDOK.
struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
const std::vector<MessageBoxRecord>& messageBoxes();
void onMessageBox(std::function<int(const MessageBoxRecord&)> handler);

// The display. The desktop starts in its own mode; a change lasts until it is restored.
struct DisplayMode {
    DWORD width;
    DWORD height;
    DWORD bitsPerPixel;
    bool operator==(const DisplayMode&) const = default;
};
DisplayMode desktopMode();
DisplayMode currentDisplayMode();
bool cursorVisible();

// Platform operations that can be made to fail, as on a machine that lacks the resource.
enum class Failure {
    NativeWindow, // CreateWindowExA
    Drawable,     // GetDC
    Context,      // wglCreateContext
    MakeCurrent,  // wglMakeCurrent with a context
    DisplayMode,  // ChangeDisplaySettingsA
    AudioDevice,  // the sound library's output (FSOUND_Init)
};
void setFailing(Failure failure, bool failing);

// A trace of every platform operation by name, in the order made, while recording.
void recordCalls(bool on);
const std::vector<std::string>& calls();

// Windows as the layer holds them.
struct WindowState {
    std::string className;
    std::string title;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    int clientWidth, clientHeight;
    bool visible;
};
std::vector<HWND> windows();
WindowState windowState(HWND window);

// Frames: the handler runs after every SwapBuffers, with the swapped frame still readable.
void onSwap(std::function<void(HWND)> handler);
uint64_t swapCount();
// The current drawable as RGBA rows, top row first.
std::vector<uint8_t> readFrame(int* width = nullptr, int* height = nullptr);

// Sound. The output is a sink: from a play request on, it takes the rate it was opened at in
// frames per second of the virtual clock. Everything played up to the clock's reading, as
// interleaved 16-bit stereo; a stream that has ended adds nothing more.
const std::vector<int16_t>& audioSamples();

// Back to a machine just started: no windows or classes, the queue empty, the cursor shown, the
// clock at zero, every handler, failure and record cleared, the display in its desktop mode.
// The EGL display stays up, so contexts are cheap to make again.
void reset();

} // namespace headless

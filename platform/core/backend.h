// The contract between the portable core and a backend. The core keeps the platform's records
// (classes, windows, the message queue, device contexts) and turns every operation into these few
// native calls. A backend is one static library that defines all of them; which one a program
// gets is decided by what it links.
#pragma once

#include "platform/opengl.h"
#include "platform/win32.h"

#include <cstdint>
#include <vector>

namespace backend {

struct NativeWindow;
struct NativeContext;

// A pixel format the backend can give a window.
struct PixelFormat {
    int colourBits; // red + green + blue + alpha
    int alphaBits;
    int depthBits;
    bool doubleBuffer;
};

// Windows. The window is made hidden; it shows nothing before showWindow. A null result means
// no native window can be had (no display, say) and makes CreateWindowExA fail.
NativeWindow* createWindow(HWND window);
void destroyWindow(NativeWindow* window);
void showWindow(NativeWindow* window, bool visible);
void setWindowTitle(NativeWindow* window, const char* title);
// Whether the window can be drawn to; false makes GetDC fail.
bool acquireDrawable(NativeWindow* window);

// Formats in a fixed order: ChoosePixelFormat's result is an index into this list plus one.
const std::vector<PixelFormat>& pixelFormats();
bool setPixelFormat(NativeWindow* window, const PixelFormat& format);
NativeContext* createContext(NativeWindow* window);
// A null context releases the thread's current one.
bool makeCurrent(NativeWindow* window, NativeContext* context);
void deleteContext(NativeContext* context);
void swapBuffers(NativeWindow* window);

// Returns a DISP_CHANGE_ value. The change lasts until restoreDisplayMode or the process's end,
// however the process ends.
LONG changeDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel);
void restoreDisplayMode();
void setCursorVisible(bool visible);

// Blocks until dismissed; returns the button pressed (IDOK ...) or 0 when no box can be shown.
int messageBox(HWND owner, const char* text, const char* caption, UINT type);

// Turns pending native input into posted messages (platform::postMessage).
void pumpEvents();
// Blocks until native input may be pending; for modal loops.
void waitEvents();

int64_t counterFrequency();
int64_t counter();
uint32_t milliseconds();

// Every platform operation names itself here as it is made, for a backend that keeps a trace.
void noteCall(const char* operation);

} // namespace backend

namespace platform {

// Queues a message for a window of the thread, as input arriving from the backend does.
void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure of the window's class, or null when the window does not exist.
WNDPROC windowProcedure(HWND window);

// A modal loop such as a dialog's: dispatches messages until it takes WM_QUIT, which it leaves
// queued for the caller's own loop, as the platform does.
void runModalLoop();
} // namespace platform

// The core's records behind the platform's handles. Backends read them; only the core writes.
#pragma once

#include "platform/core/backend.h"

#include <string>

struct HDC__ {
    HWND window = nullptr;
    int pixelFormat = 0; // 1-based, 0 until SetPixelFormat
};

struct HWND__ {
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0; // outer size, as created
    int height = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    bool visible = false;
    backend::NativeWindow* native = nullptr;
    HDC__ deviceContext;
};

struct HGLRC__ {
    backend::NativeContext* native = nullptr;
};

namespace platform {

// The windows that exist now, oldest first.
const std::vector<HWND>& liveWindows();
bool isWindow(HWND window);
HWND focusedWindow();

// Destroys every window, unregisters every class, empties the queue and shows the cursor: the
// records of a process just started.
void resetRecords();

// Deletes every rendering context still held, as the end of the process does.
void resetContexts();

} // namespace platform

// Display mode, cursor, message boxes and the clocks.
#include "platform/core/records.h"

namespace {

int cursorCount = 0;

} // namespace

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* mode, DWORD) {
    backend::noteCall("ChangeDisplaySettingsA");
    if (mode == nullptr) {
        backend::restoreDisplayMode();
        return DISP_CHANGE_SUCCESSFUL;
    }
    const DWORD needed = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    if (mode->dmSize != sizeof(DEVMODEA) || (mode->dmFields & needed) != needed ||
        mode->dmPelsWidth == 0 || mode->dmPelsHeight == 0)
        return DISP_CHANGE_BADMODE;
    // Every change is temporary, whether or not CDS_FULLSCREEN asks for it: nothing here writes
    // a setting that outlives the process.
    return backend::changeDisplayMode(mode->dmPelsWidth, mode->dmPelsHeight, mode->dmBitsPerPel);
}

int WINAPI ShowCursor(BOOL show) {
    backend::noteCall("ShowCursor");
    cursorCount += show ? 1 : -1;
    backend::setCursorVisible(cursorCount >= 0);
    return cursorCount;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    backend::noteCall("MessageBoxA");
    return backend::messageBox(owner, text ? text : "", caption ? caption : "Error", type);
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    backend::noteCall("QueryPerformanceFrequency");
    frequency->QuadPart = backend::counterFrequency();
    return frequency->QuadPart != 0 ? TRUE : FALSE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    backend::noteCall("QueryPerformanceCounter");
    count->QuadPart = backend::counter();
    return TRUE;
}

DWORD WINAPI timeGetTime(void) {
    backend::noteCall("timeGetTime");
    return backend::milliseconds();
}

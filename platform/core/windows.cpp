// Window classes and windows as records; the backend holds the native window behind each.
#include "platform/core/records.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

namespace {

struct WindowClass {
    WNDPROC procedure;
    HINSTANCE instance;
};

// Class names compare without regard to case, as on the platform.
std::string classKey(LPCSTR name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

std::map<std::string, WindowClass>& classes() {
    static std::map<std::string, WindowClass> registered;
    return registered;
}

std::vector<HWND> windows;
HWND focus = nullptr;

// Stand-ins for the system's shared icons, cursor, brushes and the module itself: distinct,
// non-null and never released.
struct SystemObject {
    int id;
};
SystemObject moduleObject{0};

template <typename Handle> Handle systemObject(uintptr_t id) {
    static std::map<uintptr_t, std::unique_ptr<SystemObject>> objects;
    auto& object = objects[id];
    if (!object)
        object = std::make_unique<SystemObject>(SystemObject{static_cast<int>(id)});
    return reinterpret_cast<Handle>(object.get());
}

// The frame a window's native size is derived from; AdjustWindowRectEx adds exactly this, so
// the client area is what was asked for.
RECT frameInsets(DWORD style, DWORD exStyle) {
    int side = 0;
    if (style & WS_THICKFRAME)
        side = 4;
    else if (style & WS_DLGFRAME)
        side = 3;
    else if (style & WS_BORDER)
        side = 1;
    if (exStyle & WS_EX_WINDOWEDGE && side > 0)
        side += 1;
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? 22 : 0;
    return RECT{side, side + caption, side, side};
}

} // namespace

namespace platform {

const std::vector<HWND>& liveWindows() {
    return windows;
}

bool isWindow(HWND window) {
    return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

HWND focusedWindow() {
    return focus;
}

WNDPROC windowProcedure(HWND window) {
    if (!isWindow(window))
        return nullptr;
    auto found = classes().find(classKey(window->className.c_str()));
    return found == classes().end() ? nullptr : found->second.procedure;
}

} // namespace platform

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    backend::noteCall("GetModuleHandleA");
    return moduleName == nullptr ? reinterpret_cast<HMODULE>(&moduleObject) : nullptr;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR iconName) {
    backend::noteCall("LoadIconA");
    return systemObject<HICON>(0x10000 | reinterpret_cast<uintptr_t>(iconName));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR cursorName) {
    backend::noteCall("LoadCursorA");
    return systemObject<HCURSOR>(0x20000 | reinterpret_cast<uintptr_t>(cursorName));
}

HGDIOBJ WINAPI GetStockObject(int object) {
    backend::noteCall("GetStockObject");
    return systemObject<HGDIOBJ>(0x30000 | static_cast<uintptr_t>(object));
}

WORD WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    backend::noteCall("RegisterClassExA");
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        windowClass->lpszClassName == nullptr || windowClass->lpszClassName[0] == '\0' ||
        windowClass->lpfnWndProc == nullptr)
        return 0;
    auto [where, added] =
        classes().try_emplace(classKey(windowClass->lpszClassName),
                              WindowClass{windowClass->lpfnWndProc, windowClass->hInstance});
    if (!added)
        return 0;
    // An atom: any non-zero value that stays unique while the class lives.
    return static_cast<WORD>(0xC000 + classes().size());
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    backend::noteCall("UnregisterClassA");
    if (className == nullptr)
        return FALSE;
    const std::string key = classKey(className);
    for (HWND window : windows)
        if (classKey(window->className.c_str()) == key)
            return FALSE;
    return classes().erase(key) == 1 ? TRUE : FALSE;
}

BOOL WINAPI AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD exStyle) {
    backend::noteCall("AdjustWindowRectEx");
    if (rect == nullptr)
        return FALSE;
    const RECT frame = frameInsets(style, exStyle);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND, HMENU, HINSTANCE, void*) {
    backend::noteCall("CreateWindowExA");
    if (className == nullptr || classes().count(classKey(className)) == 0)
        return nullptr;
    auto window = std::make_unique<HWND__>();
    window->className = className;
    window->title = windowName ? windowName : "";
    window->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    window->exStyle = exStyle;
    window->x = x;
    window->y = y;
    window->width = width;
    window->height = height;
    const RECT frame = frameInsets(style, exStyle);
    window->clientWidth = std::max(0, width - static_cast<int>(frame.left + frame.right));
    window->clientHeight = std::max(0, height - static_cast<int>(frame.top + frame.bottom));
    window->deviceContext.window = window.get();
    window->native = backend::createWindow(window.get());
    if (window->native == nullptr)
        return nullptr;
    windows.push_back(window.get());
    HWND handle = window.release();
    if (style & WS_VISIBLE)
        ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL WINAPI DestroyWindow(HWND window) {
    backend::noteCall("DestroyWindow");
    if (!platform::isWindow(window))
        return FALSE;
    if (WNDPROC procedure = platform::windowProcedure(window))
        procedure(window, WM_DESTROY, 0, 0);
    windows.erase(std::find(windows.begin(), windows.end(), window));
    if (focus == window)
        focus = nullptr;
    backend::destroyWindow(window->native);
    delete window;
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
    backend::noteCall("ShowWindow");
    if (!platform::isWindow(window))
        return FALSE;
    const bool wasVisible = window->visible;
    window->visible = command != SW_HIDE;
    backend::showWindow(window->native, window->visible);
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    backend::noteCall("SetForegroundWindow");
    if (!platform::isWindow(window))
        return FALSE;
    focus = window;
    return TRUE;
}

HWND WINAPI SetFocus(HWND window) {
    backend::noteCall("SetFocus");
    HWND previous = focus;
    if (window != nullptr && !platform::isWindow(window))
        return nullptr;
    focus = window;
    return previous;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    backend::noteCall("SetWindowTextA");
    if (!platform::isWindow(window))
        return FALSE;
    window->title = text ? text : "";
    backend::setWindowTitle(window->native, window->title.c_str());
    return TRUE;
}

namespace platform {

void resetRecords() {
    while (!windows.empty())
        DestroyWindow(windows.back());
    classes().clear();
    focus = nullptr;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    int count = ShowCursor(TRUE);
    while (count < 0)
        count = ShowCursor(TRUE);
    while (count > 0)
        count = ShowCursor(FALSE);
}

} // namespace platform

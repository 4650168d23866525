// A small program on the desktop backend for tests that watch it from outside. It opens a window
// as the host does (windowed, or fullscreen at 640x480 when built with PROBE_FULLSCREEN), draws
// one colour every frame and prints what happens on standard output, one line each:
//   context <version>   the OpenGL context is current
//   mode <result>       ChangeDisplaySettingsA's result (fullscreen only)
//   frame               the first frame is swapped
//   message <n> <w>     the window procedure got message n with wParam w
//   exit <code>         the loop ended normally
//   box <result>        MessageBoxA's answer, for a box shown on the key M
// Releasing Escape or the close request ends it normally. Other keys end it otherwise: S raises
// SIGSEGV, A aborts, X exits with 3 without any teardown.
#include "platform/opengl.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

#ifdef PROBE_FULLSCREEN
constexpr bool fullscreen = true;
constexpr int width = 640;
constexpr int height = 480;
#else
constexpr bool fullscreen = false;
constexpr int width = 320;
constexpr int height = 240;
#endif

void say(const char* format, auto... values) {
    std::printf(format, values...);
    std::putchar('\n');
    std::fflush(stdout);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    say("message %u %lu", message, static_cast<unsigned long>(wParam));
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYUP:
        // On the release, so that both halves of the key are seen.
        if (wParam == VK_ESCAPE)
            PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == 'S')
            std::raise(SIGSEGV);
        else if (wParam == 'A')
            std::abort();
        else if (wParam == 'X')
            std::exit(3);
        else if (wParam == 'M')
            say("box %d", MessageBoxA(nullptr, "Over the show", "probe box", MB_OK));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    DWORD style = WS_BORDER | WS_SYSMENU;
    DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    if (fullscreen) {
        ShowCursor(FALSE);
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmBitsPerPel = 32;
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = height;
        say("mode %d", static_cast<int>(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN)));
        style = WS_POPUP;
        exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "probe";
    if (RegisterClassExA(&windowClass) == 0)
        return 2;
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    HWND window = CreateWindowExA(
        exStyle, "probe", "probe", style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        say("CreateWindowExA failed");
        return 1;
    }
    HDC deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 16;
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &format), &format);
    HGLRC renderContext = wglCreateContext(deviceContext);
    if (renderContext == nullptr || !wglMakeCurrent(deviceContext, renderContext)) {
        say("no context");
        return 2;
    }
    say("context %s", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetFocus(window);

    bool first = true;
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                break;
            DispatchMessageA(&message);
            continue;
        }
        glClearColor(1.0f, 0.5f, 0.0f, 1.0f); // orange: no screen shows it by chance
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(deviceContext);
        if (first)
            say("frame");
        first = false;
    }
    if (fullscreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
    wglMakeCurrent(deviceContext, nullptr);
    wglDeleteContext(renderContext);
    ReleaseDC(window, deviceContext);
    DestroyWindow(window);
    UnregisterClassA("probe", instance);
    say("exit %d", static_cast<int>(message.wParam));
    return static_cast<int>(message.wParam);
}

// The window, its display mode and the OpenGL context: opened in a fixed order after the setup
// dialog, and taken down in a fixed order after the loop.
#include "host/demo_system.h"

#include <cstdio>

namespace {

const char className[] = "glwin";

void showError(const char* text) {
    MessageBoxA(nullptr, text, "ERROR!", MB_OK | MB_ICONWARNING);
}

// Filled from the settings at its first use; they no longer change by then.
PIXELFORMATDESCRIPTOR pixelFormat;

} // namespace

int DemoSystem::enterFullscreenMode() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = colourBits;
    mode.dmPelsWidth = screenWidth;
    mode.dmPelsHeight = screenHeight;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL ? 1 : 0;
}

int DemoSystem::setupPixelFormat() {
    if (pixelFormat.nSize == 0) {
        pixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
        pixelFormat.nVersion = 1;
        pixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pixelFormat.iPixelType = PFD_TYPE_RGBA;
        pixelFormat.cColorBits = static_cast<BYTE>(colourBits);
        pixelFormat.cDepthBits = static_cast<BYTE>(depthBits);
        pixelFormat.iLayerType = PFD_MAIN_PLANE;
    }
    const int format = ChoosePixelFormat(deviceContext, &pixelFormat);
    return SetPixelFormat(deviceContext, format, &pixelFormat) ? 1 : 0;
}

void DemoSystem::setupProjection() {
    glViewport(0, 0, screenWidth, screenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(screenWidth) / screenHeight;
    gluPerspective(fieldOfView, aspect, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int32_t DemoSystem::openWindow(HINSTANCE instance) {
    RECT rectangle{0, 0, static_cast<LONG>(screenWidth), static_cast<LONG>(screenHeight)};

    std::snprintf(textBuffer, textBufferSize, "(%s) -- [%ux%u^%u^%u]", titleText, screenWidth,
                  screenHeight, colourBits, depthBits);
    std::snprintf(titleText, sizeof(titleText), "%s", textBuffer);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;

    DWORD style;
    DWORD exStyle;
    if (fullscreen) {
        ShowCursor(FALSE);
        enterFullscreenMode();
        style = WS_POPUP;
        exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    } else {
        style = WS_BORDER | WS_SYSMENU;
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    }

    if (!RegisterClassExA(&windowClass)) {
        showError("Could not register class");
        return -1;
    }
    AdjustWindowRectEx(&rectangle, style, FALSE, exStyle);
    windowHandle =
        CreateWindowExA(exStyle, className, titleText, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                        0, rectangle.right - rectangle.left, rectangle.bottom - rectangle.top,
                        nullptr, nullptr, instance, nullptr);
    if (windowHandle == nullptr)
        return 1;
    deviceContext = GetDC(windowHandle);
    if (deviceContext == nullptr) {
        showError("Could not get devicecontext");
        return -1;
    }
    setupPixelFormat();
    renderContext = wglCreateContext(deviceContext);
    if (renderContext == nullptr) {
        showError("Creation of OpenGL context failed!");
        return -1;
    }
    if (!wglMakeCurrent(deviceContext, renderContext)) {
        showError("Could not make OpenGL context active!");
        return -1;
    }
    ShowWindow(windowHandle, SW_SHOWNORMAL);
    SetForegroundWindow(windowHandle);
    SetFocus(windowHandle);
    setupProjection();

    glClearColor(0, 0, 0, 1);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return 0;
}

void DemoSystem::teardown(HINSTANCE instance) {
    if (fullscreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
    wglMakeCurrent(deviceContext, nullptr);
    wglDeleteContext(renderContext);
    ReleaseDC(windowHandle, deviceContext);
    DestroyWindow(windowHandle);
    UnregisterClassA(className, instance);
}

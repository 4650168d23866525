#include "tests/support/test_window.h"

#include "platform/headless/control.h"

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK testProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

TestWindow openTestWindow(int width, int height, int colourBits, int depthBits) {
    headless::reset();
    TestWindow opened;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = testProcedure;
    windowClass.lpszClassName = "test";
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    opened.window = CreateWindowExA(0, "test", "test", WS_POPUP, 0, 0, width, height, nullptr,
                                    nullptr, nullptr, nullptr);
    EXPECT_NE(opened.window, nullptr);
    opened.deviceContext = GetDC(opened.window);
    EXPECT_NE(opened.deviceContext, nullptr);
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(descriptor);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.cColorBits = static_cast<BYTE>(colourBits);
    descriptor.cDepthBits = static_cast<BYTE>(depthBits);
    const int format = ChoosePixelFormat(opened.deviceContext, &descriptor);
    EXPECT_NE(format, 0);
    EXPECT_TRUE(SetPixelFormat(opened.deviceContext, format, &descriptor));
    opened.renderContext = wglCreateContext(opened.deviceContext);
    EXPECT_NE(opened.renderContext, nullptr);
    EXPECT_TRUE(wglMakeCurrent(opened.deviceContext, opened.renderContext));
    if (::testing::Test::HasFailure())
        return {};
    return opened;
}

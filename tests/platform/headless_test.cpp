// The platform layer on the headless machine: real OpenGL, the virtual clock, the queue.
#include "platform/core/backend.h"
#include "platform/headless/control.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

class Headless : public ::testing::Test {
protected:
    void SetUp() override { headless::reset(); }
    void TearDown() override { headless::reset(); }
};

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
};
std::vector<Received> received;

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({window, message, wParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

// Ends a nested loop the way a dialog's procedure does: by posting the quit message.
LRESULT CALLBACK quittingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({window, message, wParam});
    if (message == WM_COMMAND)
        PostQuitMessage(static_cast<int>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow(WNDPROC procedure, const char* className = "probe") {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    return CreateWindowExA(0, className, "probe", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr,
                           nullptr);
}

} // namespace

TEST_F(Headless, DrawnQuadReadsBackInItsColour) {
    TestWindow opened = openTestWindow(64, 48);
    ASSERT_NE(opened.renderContext, nullptr);
    const GLubyte* version = glGetString(GL_VERSION);
    ASSERT_NE(version, nullptr);
    EXPECT_NE(std::string(reinterpret_cast<const char*>(version)).find("Compatibility"),
              std::string::npos);

    glViewport(0, 0, 64, 48);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0.5f, 0);
    glBegin(GL_QUADS); // the left half of the frame
    glVertex2f(-1, -1);
    glVertex2f(0, -1);
    glVertex2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    // The frame is read where a capture reads it: right after the swap.
    int width = 0;
    int height = 0;
    std::vector<uint8_t> frame;
    HWND swapped = nullptr;
    headless::onSwap([&](HWND window) {
        swapped = window;
        frame = headless::readFrame(&width, &height);
    });
    EXPECT_TRUE(SwapBuffers(opened.deviceContext));
    EXPECT_EQ(headless::swapCount(), 1u);
    EXPECT_EQ(swapped, opened.window);
    ASSERT_EQ(width, 64);
    ASSERT_EQ(height, 48);
    auto pixel = [&](int x, int y) {
        const uint8_t* p = &frame[(static_cast<size_t>(y) * width + x) * 4];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(5, 5), (std::vector<int>{255, 128, 0}));
    EXPECT_EQ(pixel(60, 40), (std::vector<int>{0, 0, 255}));
}

TEST_F(Headless, GluPerspectiveIsTheRealOne) {
    TestWindow opened = openTestWindow(64, 48);
    ASSERT_NE(opened.renderContext, nullptr);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, 4.0 / 3.0, 1.0, 1000.0);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(25.0 * M_PI / 180.0);
    const double expected[16] = {
        f / (4.0 / 3.0), 0, 0, 0, 0, f, 0, 0, 0, 0, -1001.0 / 999.0, -1, 0, 0, -2000.0 / 999.0, 0};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-6) << "element " << i;
}

TEST_F(Headless, PixelFormatMeetsTheRequestAndIsSetOnce) {
    TestWindow opened = openTestWindow(32, 32, 32, 32);
    ASSERT_NE(opened.renderContext, nullptr);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, 24);
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(descriptor);
    descriptor.dwFlags = PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_FALSE(SetPixelFormat(opened.deviceContext, 1, &descriptor));
}

TEST_F(Headless, VirtualClockDrivesBothTimeFunctionsExactly) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER count;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 10'000'000);
    EXPECT_EQ(timeGetTime(), 0u);

    headless::advanceNanoseconds(1'234'567'890);
    QueryPerformanceCounter(&count);
    EXPECT_EQ(count.QuadPart, 12'345'678);
    EXPECT_EQ(timeGetTime(), 1234u);
    EXPECT_EQ(timeGetTime(), 1234u) << "the clock moves only when told";

    // Milliseconds wrap at 2^32 while the counter keeps growing.
    headless::setClockNanoseconds((int64_t{1} << 32) * 1'000'000 - 2'000'000);
    EXPECT_EQ(timeGetTime(), 0xFFFFFFFEu);
    headless::advanceMilliseconds(3);
    EXPECT_EQ(timeGetTime(), 1u);
    QueryPerformanceCounter(&count);
    EXPECT_EQ(count.QuadPart, ((int64_t{1} << 32) + 1) * 10'000);

    headless::setCounterFrequency(0);
    EXPECT_FALSE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 0);
}

TEST_F(Headless, OneMessageIsDispatchedToTheClassProcedurePerPeek) {
    received.clear();
    HWND window = makeWindow(recordingProcedure);
    ASSERT_NE(window, nullptr);
    received.clear();
    headless::postToWindow(window, WM_USER, 1);
    headless::postToWindow(window, WM_USER, 2);
    headless::pressKey(VK_ESCAPE, true);
    PostQuitMessage(7);

    MSG message;
    const std::vector<std::pair<UINT, WPARAM>> expected{
        {WM_USER, 1}, {WM_USER, 2}, {WM_KEYDOWN, VK_ESCAPE}};
    for (size_t turn = 0; turn < expected.size(); ++turn) {
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        DispatchMessageA(&message);
        ASSERT_EQ(received.size(), turn + 1);
        EXPECT_EQ(received[turn].window, window);
        EXPECT_EQ(received[turn].message, expected[turn].first);
        EXPECT_EQ(received[turn].wParam, expected[turn].second);
    }
    // The quit request comes once everything else has been taken, and only once.
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Headless, QuitPostedInsideANestedLoopIsStillQueuedAfterIt) {
    received.clear();
    HWND dialog = makeWindow(quittingProcedure);
    ASSERT_NE(dialog, nullptr);
    headless::postToWindow(dialog, WM_USER);
    headless::postToWindow(dialog, WM_COMMAND, 0);
    platform::runModalLoop();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].message, static_cast<UINT>(WM_COMMAND));

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Headless, NestedLoopWaitsForInputWhenItsQueueIsEmpty) {
    received.clear();
    HWND dialog = makeWindow(quittingProcedure);
    int waits = 0;
    headless::onIdleWait([&] {
        ++waits;
        headless::postToWindow(dialog, WM_COMMAND, 3);
    });
    platform::runModalLoop();
    EXPECT_EQ(waits, 1);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST_F(Headless, CloseKeysAndDefaultProcessing) {
    received.clear();
    HWND window = makeWindow(recordingProcedure);
    SetFocus(window);
    // Alt+F4 reaches the procedure as a system key, whose default processing asks to close.
    headless::pressKey(VK_F4, true, true);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_SYSKEYDOWN));
    DispatchMessageA(&message);
    ASSERT_EQ(received.size(), 3u) << "WM_SYSKEYDOWN, then WM_CLOSE and its WM_DESTROY";
    EXPECT_EQ(received[1].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(received[2].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_TRUE(headless::windows().empty());
}

TEST_F(Headless, MessageBoxesAreRecorded) {
    HWND window = makeWindow(recordingProcedure);
    headless::onMessageBox([](const headless::MessageBoxRecord& box) {
        headless::advanceMilliseconds(250); // the viewer takes a while to answer
        return box.type & MB_YESNO ? IDNO : IDOK;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "first", "ERROR!", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(MessageBoxA(window, "second", "About", MB_YESNO | MB_ICONINFORMATION), IDNO);
    EXPECT_EQ(timeGetTime(), 500u);
    const auto& boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, "first");
    EXPECT_EQ(boxes[0].caption, "ERROR!");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(boxes[1].owner, window);
    EXPECT_EQ(boxes[1].caption, "About");
}

TEST_F(Headless, WindowFrameAndClientArea) {
    ASSERT_NE(makeWindow(recordingProcedure, "framed"), nullptr);
    struct Case {
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {WS_POPUP, WS_EX_APPWINDOW | WS_EX_TOPMOST},
        {WS_BORDER | WS_SYSMENU, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE},
        {WS_CAPTION | WS_SYSMENU, 0},
    };
    for (const Case& c : cases) {
        RECT rect{0, 0, 800, 600};
        ASSERT_TRUE(AdjustWindowRectEx(&rect, c.style, FALSE, c.exStyle));
        EXPECT_LE(rect.left, 0);
        EXPECT_LE(rect.top, 0);
        HWND window = CreateWindowExA(c.exStyle, "framed", "t", c.style | WS_CLIPSIBLINGS, 0, 0,
                                      rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                      nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        const headless::WindowState state = headless::windowState(window);
        EXPECT_EQ(state.clientWidth, 800) << std::hex << c.style;
        EXPECT_EQ(state.clientHeight, 600) << std::hex << c.style;
        EXPECT_FALSE(state.visible) << "windows are made hidden";
        ShowWindow(window, SW_SHOWNORMAL);
        EXPECT_TRUE(headless::windowState(window).visible);
    }
}

TEST_F(Headless, ClassesAreRegisteredOnceAndOutliveNoWindow) {
    HWND window = makeWindow(recordingProcedure, "glwin");
    WNDCLASSEXA again{};
    again.cbSize = sizeof(again);
    again.lpfnWndProc = recordingProcedure;
    again.lpszClassName = "GLWIN";
    EXPECT_EQ(RegisterClassExA(&again), 0) << "class names ignore case";
    again.lpszClassName = "other";
    again.cbSize = 48 - 1;
    EXPECT_EQ(RegisterClassExA(&again), 0) << "a record of the wrong size is refused";
    EXPECT_FALSE(UnregisterClassA("glwin", GetModuleHandleA(nullptr)));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("glwin", GetModuleHandleA(nullptr)));
    EXPECT_EQ(
        CreateWindowExA(0, "glwin", "t", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

TEST_F(Headless, DisplayModeChangesAndComesBack) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 480;
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(headless::currentDisplayMode(), (headless::DisplayMode{640, 480, 32}));
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(headless::currentDisplayMode(), headless::desktopMode());

    mode.dmPelsWidth = 641;
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    EXPECT_EQ(headless::currentDisplayMode(), headless::desktopMode());

    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_FALSE(headless::cursorVisible());
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_TRUE(headless::cursorVisible());
}

// The host's run on the headless machine: its outcomes, what it leaves behind, the help box, the
// title, the projection and defaults as OpenGL reports them, and the order of teardown.
#include "host/demo_system.h"
#include "platform/headless/control.h"
#include "tests/host/host_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const char helpText[] = "Demo parameters (*NOT* IMPLEMENTED)\n\n"
                        "[-windowed] run windowed                 \n"
                        "[-fullscreen] run fullscreen             \n"
                        "[-z16] 16bits zbuffer                    \n"
                        "[-z32] 32bits zbuffer                    \n"
                        "[-16] 16bits graphics mode               \n"
                        "[-32] 32bits graphics mode               \n"
                        "[-640x480] graphics mode 640x480         \n"
                        "[-800x600] graphics mode 800x600         \n"
                        "[-1024x768] graphics mode 1024x768       \n"
                        "[-1280x1024] graphics mode 1280x1024     \n";

using HostRun = HostFixture;

} // namespace

TEST_F(HostRun, HelpTextIsExactAndShownForAnyNonEmptyCommandLine) {
    ASSERT_EQ(sizeof(helpText) - 1, 457u);
    for (const char* commandLine : {" ", "-windowed", "x"}) {
        headless::reset();
        DemoSystem& host = makeHost(1, commandLine);
        EXPECT_EQ(host.run(), -1) << commandLine;
        ASSERT_EQ(headless::messageBoxes().size(), 1u) << commandLine;
        const headless::MessageBoxRecord& box = headless::messageBoxes()[0];
        EXPECT_EQ(box.text, helpText);
        EXPECT_EQ(box.caption, "commandline help");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_TRUE(headless::windows().empty());
        EXPECT_EQ(initCalls, 0);
    }
    // Each option line is 41 characters before its break.
    std::string text(helpText);
    size_t start = text.find("\n\n") + 2;
    for (int line = 0; line < 10; ++line) {
        const size_t end = text.find('\n', start);
        EXPECT_EQ(end - start, 41u) << text.substr(start, end - start);
        start = end + 1;
    }
    EXPECT_EQ(start, text.size());
}

TEST_F(HostRun, EmptyCommandLineShowsNoHelp) {
    DemoSystem& host = makeHost(0);
    endAfterFrames = 1;
    EXPECT_EQ(host.showCommandLineHelp(""), 0);
    EXPECT_EQ(host.run(), 0);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(HostRun, ClearedRunningFlagEndsTheRunBeforeAnyWindow) {
    DemoSystem& host = makeHost(1);
    running = 0;
    EXPECT_EQ(host.run(), -1);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_TRUE(headless::windows().empty());
    EXPECT_EQ(headless::currentDisplayMode(), headless::desktopMode());
}

// Each failing step of opening: the result, the box, and that nothing done before is undone.
TEST_F(HostRun, FailureAtEachStepOfOpening) {
    struct Case {
        const char* name;
        void (*arrange)();
        int result;
        const char* box; // null: no box
        bool windowLeft;
    };
    const Case cases[] = {
        {"class", [] { registerRivalClass(); }, -1, "Could not register class", false},
        {"window", [] { headless::setFailing(headless::Failure::NativeWindow, true); }, 1, nullptr,
         false},
        {"device context", [] { headless::setFailing(headless::Failure::Drawable, true); }, -1,
         "Could not get devicecontext", true},
        {"context", [] { headless::setFailing(headless::Failure::Context, true); }, -1,
         "Creation of OpenGL context failed!", true},
        {"current", [] { headless::setFailing(headless::Failure::MakeCurrent, true); }, -1,
         "Could not make OpenGL context active!", true},
    };
    for (const Case& c : cases) {
        for (int32_t mode : {1, 0}) {
            SCOPED_TRACE(std::string(c.name) + (mode ? " fullscreen" : " windowed"));
            headless::reset();
            DemoSystem& host = makeHost(mode);
            c.arrange();
            EXPECT_EQ(host.run(), c.result);
            if (c.box) {
                ASSERT_EQ(headless::messageBoxes().size(), 1u);
                const headless::MessageBoxRecord& box = headless::messageBoxes()[0];
                EXPECT_EQ(box.text, c.box);
                EXPECT_EQ(box.caption, "ERROR!");
                EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
                EXPECT_EQ(box.owner, nullptr);
            } else {
                EXPECT_TRUE(headless::messageBoxes().empty());
            }
            EXPECT_EQ(initCalls, 0);
            // The changed mode and hidden cursor stay until the process ends.
            const headless::DisplayMode expectedMode =
                mode ? headless::DisplayMode{640, 480, 32} : headless::desktopMode();
            EXPECT_EQ(headless::currentDisplayMode(), expectedMode);
            EXPECT_EQ(headless::cursorVisible(), mode == 0);
            EXPECT_FALSE(registerRivalClass()) << "the class stays registered";
            const std::vector<HWND> windows = headless::windows();
            ASSERT_EQ(windows.size(), c.windowLeft ? 1u : 0u);
            if (c.windowLeft) {
                EXPECT_EQ(windows[0], windowHandle);
                EXPECT_FALSE(headless::windowState(windowHandle).visible)
                    << "nothing is shown before the context is current";
            }
        }
    }
}

TEST_F(HostRun, NormalEndTakesEverythingDown) {
    for (int32_t mode : {1, 0}) {
        headless::reset();
        DemoSystem& host = makeHost(mode);
        endAfterFrames = 2;
        EXPECT_EQ(host.run(), 0);
        EXPECT_EQ(running, 0);
        EXPECT_EQ(initCalls, 1);
        EXPECT_EQ(frameCalls, 2);
        EXPECT_TRUE(headless::windows().empty());
        EXPECT_EQ(headless::currentDisplayMode(), headless::desktopMode());
        EXPECT_TRUE(headless::cursorVisible());
        EXPECT_TRUE(headless::messageBoxes().empty());
        EXPECT_TRUE(registerRivalClass()) << "the class is gone too";
    }
}

TEST_F(HostRun, DecoratedTitleForEveryDialogChoiceReachesBothHooks) {
    for (auto [width, height] :
         {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}, {1280u, 1024u}})
        for (uint32_t colour : {16u, 32u})
            for (uint32_t depth : {16u, 32u}) {
                headless::reset();
                DemoSystem& host = makeHost(1, "", width, height, colour, depth);
                endAfterFrames = 1;
                ASSERT_EQ(host.run(), 0);
                const std::string expected = "(Pelvaro, fast-intro) -- [" + std::to_string(width) +
                                             "x" + std::to_string(height) + "^" +
                                             std::to_string(colour) + "^" + std::to_string(depth) +
                                             "]";
                EXPECT_EQ(initTitle, expected);
                EXPECT_EQ(frameTitle, expected);
                EXPECT_EQ(titleText, expected);
                EXPECT_EQ(openedWindow.title, expected);
            }
}

TEST_F(HostRun, ProjectionAndDefaultsAsOpenGLReportsThem) {
    for (auto [width, height] :
         {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}, {1280u, 1024u}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        headless::reset();
        DemoSystem& host = makeHost(0, "", width, height);
        endAfterFrames = 1;
        ASSERT_EQ(host.run(), 0);
        const GlState& state = stateAtInit;
        const double aspect = static_cast<double>(width) / height;
        const double f = 1.0 / std::tan(25.0 * M_PI / 180.0);
        const double expected[16] = {
            f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, -1001.0 / 999.0, -1, 0, 0, -2000.0 / 999.0, 0};
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(state.projection[i], expected[i], 1e-6) << "element " << i;
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(state.modelView[i], i % 5 == 0 ? 1.0 : 0.0) << "element " << i;
        EXPECT_EQ(state.viewport, (std::vector<int>{0, 0, int(width), int(height)}));
        EXPECT_EQ(state.matrixMode, GL_MODELVIEW);
        EXPECT_TRUE(state.depthTest);
        EXPECT_EQ(state.depthFunction, GL_LEQUAL);
        EXPECT_EQ(state.clearColour, (std::vector<float>{0, 0, 0, 1}));
        EXPECT_EQ(state.clearDepth, 1.0);
        EXPECT_EQ(state.shadeModel, GL_SMOOTH);
        EXPECT_EQ(state.perspectiveHint, GL_NICEST);
        EXPECT_EQ(openedWindow.clientWidth, int(width));
        EXPECT_EQ(openedWindow.clientHeight, int(height));
    }
}

TEST_F(HostRun, WindowStylesFollowTheMode) {
    struct Case {
        int32_t mode;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {1, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_APPWINDOW | WS_EX_TOPMOST},
        {0, WS_BORDER | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
         WS_EX_APPWINDOW | WS_EX_WINDOWEDGE},
    };
    for (const Case& c : cases) {
        headless::reset();
        DemoSystem& host = makeHost(c.mode);
        endAfterFrames = 1;
        ASSERT_EQ(host.run(), 0);
        EXPECT_EQ(openedWindow.className, "glwin");
        EXPECT_EQ(openedWindow.style, c.style);
        EXPECT_EQ(openedWindow.exStyle, c.exStyle);
        EXPECT_EQ(openedWindow.x, 0);
        EXPECT_EQ(openedWindow.y, 0);
        EXPECT_TRUE(openedWindow.visible);
        const headless::DisplayMode fullscreenMode{640, 480, 32};
        EXPECT_EQ(displayAtInit, c.mode ? fullscreenMode : headless::desktopMode());
        EXPECT_EQ(cursorAtInit, c.mode == 0);
    }
}

TEST_F(HostRun, FullscreenModeThatCannotBeSetStillRuns) {
    DemoSystem& host = makeHost(1);
    headless::setFailing(headless::Failure::DisplayMode, true);
    endAfterFrames = 1;
    EXPECT_EQ(host.run(), 0);
    EXPECT_EQ(displayAtInit, headless::desktopMode());
    EXPECT_EQ(openedWindow.style & WS_POPUP, static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(HostRun, TeardownOrder) {
    struct Case {
        int32_t mode;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {1,
         {"ChangeDisplaySettingsA", "ShowCursor", "wglMakeCurrent", "wglDeleteContext", "ReleaseDC",
          "DestroyWindow", "UnregisterClassA"}},
        {0,
         {"wglMakeCurrent", "wglDeleteContext", "ReleaseDC", "DestroyWindow", "UnregisterClassA"}},
    };
    for (const Case& c : cases) {
        headless::reset();
        DemoSystem& host = makeHost(c.mode);
        endAfterFrames = 1;
        recordCallsFromFirstFrame = true;
        ASSERT_EQ(host.run(), 0);
        // Everything after the loop took WM_QUIT.
        const std::vector<std::string>& all = headless::calls();
        auto lastPeek = std::find(all.rbegin(), all.rend(), "PeekMessageA");
        ASSERT_NE(lastPeek, all.rend());
        std::vector<std::string> after(lastPeek.base(), all.end());
        after.erase(
            std::remove_if(after.begin(), after.end(),
                           [](const std::string& call) { return call == "PostQuitMessage"; }),
            after.end());
        EXPECT_EQ(after, c.calls);
    }
}

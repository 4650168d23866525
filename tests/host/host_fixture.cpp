#include "tests/host/host_fixture.h"

int initCalls;
int frameCalls;
std::string initTitle;
std::string frameTitle;
GlState stateAtInit;
headless::DisplayMode displayAtInit;
bool cursorAtInit;
headless::WindowState openedWindow;
std::vector<std::string> titlesAtFrames;
int endAfterFrames;
int64_t frameNanoseconds;
bool recordCallsFromFirstFrame;

namespace {

template <typename T> std::vector<T> glValues(GLenum name, int count) {
    std::vector<T> values(count);
    if constexpr (std::is_same_v<T, int>)
        glGetIntegerv(name, values.data());
    else
        glGetFloatv(name, values.data());
    return values;
}

void recordInit(const char* title) {
    ++initCalls;
    initTitle = title;
    GlState& state = stateAtInit;
    glGetDoublev(GL_PROJECTION_MATRIX, state.projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, state.modelView);
    state.viewport = glValues<int>(GL_VIEWPORT, 4);
    state.matrixMode = glValues<int>(GL_MATRIX_MODE, 1)[0];
    state.depthTest = glIsEnabled(GL_DEPTH_TEST);
    state.depthFunction = glValues<int>(GL_DEPTH_FUNC, 1)[0];
    state.clearColour = glValues<float>(GL_COLOR_CLEAR_VALUE, 4);
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &state.clearDepth);
    state.shadeModel = glValues<int>(GL_SHADE_MODEL, 1)[0];
    state.perspectiveHint = glValues<int>(GL_PERSPECTIVE_CORRECTION_HINT, 1)[0];
    displayAtInit = headless::currentDisplayMode();
    cursorAtInit = headless::cursorVisible();
}

void recordFrame(const char* title) {
    ++frameCalls;
    frameTitle = title;
    titlesAtFrames.push_back(headless::windowState(windowHandle).title);
    if (frameCalls == 1) {
        openedWindow = headless::windowState(windowHandle);
        if (recordCallsFromFirstFrame)
            headless::recordCalls(true);
    }
    if (frameCalls == endAfterFrames)
        headless::pressKey(VK_ESCAPE, true);
    headless::advanceNanoseconds(frameNanoseconds);
}

LRESULT CALLBACK rivalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool registerRivalClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = rivalProcedure;
    windowClass.lpszClassName = "glwin";
    return RegisterClassExA(&windowClass) != 0;
}

void HostFixture::SetUp() {
    headless::reset();
}

void HostFixture::TearDown() {
    headless::reset();
    // The host never frees its buffer in a real run; the tests make many hosts.
    for (DemoSystem* host : hosts) {
        delete[] host->textBuffer;
        delete host;
    }
    demoSystem = nullptr;
}

DemoSystem& HostFixture::makeHost(int32_t mode, const char* commandLine, uint32_t width,
                                  uint32_t height, uint32_t colour, uint32_t depth) {
    auto* host =
        new DemoSystem(width, height, colour, depth, mode, "Pelvaro, fast-intro", commandLine);
    hosts.push_back(host);
    demoSystem = host;
    running = 1;
    host->initCallback = recordInit;
    host->frameCallback = recordFrame;
    initCalls = 0;
    frameCalls = 0;
    initTitle.clear();
    frameTitle.clear();
    titlesAtFrames.clear();
    openedWindow = {};
    endAfterFrames = 0;
    frameNanoseconds = 0;
    recordCallsFromFirstFrame = false;
    return *host;
}

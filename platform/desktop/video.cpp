// Windows and OpenGL contexts through SDL on X11. On X11 a window's visual is fixed when it is
// made, so CreateWindowExA only records the window, and the native one is made once its pixel
// format is known (or, without one, when it is first shown).
#include "platform/core/records.h"
#include "platform/desktop/desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cstdio>
#include <vector>

struct backend::NativeWindow {
    HWND window;
    SDL_Window* sdl = nullptr;
};

struct backend::NativeContext {
    SDL_GLContext sdl;
};

namespace {

std::vector<backend::NativeWindow*> windows;

Uint32 windowFlags(const HWND__& window) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (window.style & WS_POPUP)
        flags |= SDL_WINDOW_BORDERLESS;
    if (window.style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    if (window.exStyle & WS_EX_TOPMOST)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

// Makes the native window, replacing one made before; the record gives its title, place, client
// size and whether it shows.
bool realise(backend::NativeWindow* native, Uint32 flags) {
    if (native->sdl != nullptr)
        SDL_DestroyWindow(native->sdl);
    const HWND__& window = *native->window;
    // The outer frame's corner goes where the record says; the window manager adds its frame
    // around the client area from there.
    native->sdl =
        SDL_CreateWindow(window.title.c_str(), window.x, window.y, std::max(1, window.clientWidth),
                         std::max(1, window.clientHeight), windowFlags(window) | flags);
    if (native->sdl == nullptr) {
        std::fprintf(stderr, "pelvaro: cannot make a window: %s\n", SDL_GetError());
        return false;
    }
    if (window.visible)
        backend::showWindow(native, true);
    return true;
}

// Set before any part of the program starts SDL, its sound included.
[[maybe_unused]] const bool hinted = [] {
    // The X11 driver whatever the environment says: display modes and boxes work on X.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    // Signals keep their own effect, so that SIGINT and SIGTERM end the program at once.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    // The window's close request is what ends a program, not the last window going away.
    SDL_SetHintWithPriority(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0", SDL_HINT_OVERRIDE);
    return true;
}();

SDL_Window* topWindow() {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->sdl != nullptr && (*it)->window->visible)
            return (*it)->sdl;
    return nullptr;
}

// As the platform's foreground window, the window takes the keyboard, window manager or not.
void takeKeyboard(SDL_Window* window) {
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
}

void setGlAttributes(const backend::PixelFormat& format) {
    SDL_GL_ResetAttributes();
    // The compatibility profile, so that the fixed-function pipeline is there.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
}

} // namespace

namespace desktop {

bool videoReady() {
    static const bool ready = [] {
        if (xDisplay() == nullptr)
            return false;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            return true;
        reportNoDisplay(SDL_GetError());
        return false;
    }();
    return ready;
}

HWND windowForId(unsigned id) {
    for (backend::NativeWindow* native : windows)
        if (native->sdl != nullptr && SDL_GetWindowID(native->sdl) == id)
            return native->window;
    return nullptr;
}

Window topXWindow() {
    SDL_Window* top = topWindow();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (top == nullptr || !SDL_GetWindowWMInfo(top, &info) || info.subsystem != SDL_SYSWM_X11)
        return 0;
    return info.info.x11.window;
}

void focusTopWindow() {
    if (SDL_Window* top = topWindow())
        takeKeyboard(top);
}

} // namespace desktop

namespace backend {

NativeWindow* createWindow(HWND window) {
    if (!desktop::videoReady())
        return nullptr;
    windows.push_back(new NativeWindow{window});
    return windows.back();
}

void destroyWindow(NativeWindow* window) {
    if (window->sdl != nullptr)
        SDL_DestroyWindow(window->sdl);
    windows.erase(std::find(windows.begin(), windows.end(), window));
    delete window;
}

void showWindow(NativeWindow* window, bool visible) {
    if (window->sdl == nullptr && !realise(window, 0))
        return;
    if (!visible) {
        SDL_HideWindow(window->sdl);
        return;
    }
    SDL_ShowWindow(window->sdl);
    takeKeyboard(window->sdl);
}

void setWindowTitle(NativeWindow* window, const char* title) {
    if (window->sdl != nullptr)
        SDL_SetWindowTitle(window->sdl, title);
}

bool acquireDrawable(NativeWindow*) {
    return true;
}

const std::vector<PixelFormat>& pixelFormats() {
    // What Mesa offers on any X screen of 24-bit colour: with or without alpha, a 16- or 24-bit
    // depth buffer, double- or single-buffered.
    static const std::vector<PixelFormat> formats = [] {
        std::vector<PixelFormat> list;
        for (bool doubleBuffer : {true, false})
            for (int alpha : {0, 8})
                for (int depth : {16, 24})
                    list.push_back({24 + alpha, alpha, depth, doubleBuffer});
        return list;
    }();
    return formats;
}

bool setPixelFormat(NativeWindow* window, const PixelFormat& format) {
    setGlAttributes(format);
    return realise(window, SDL_WINDOW_OPENGL);
}

NativeContext* createContext(NativeWindow* window) {
    if (window->sdl == nullptr || !(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_OPENGL))
        return nullptr;
    // SDL makes a new context current; the platform's creation leaves the thread as it was.
    SDL_Window* currentWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext currentContext = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
    SDL_GL_MakeCurrent(currentWindow, currentContext);
    if (context == nullptr) {
        std::fprintf(stderr, "pelvaro: cannot make an OpenGL context: %s\n", SDL_GetError());
        return nullptr;
    }
    return new NativeContext{context};
}

bool makeCurrent(NativeWindow* window, NativeContext* context) {
    if (context == nullptr)
        return !desktop::videoReady() || SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    return window->sdl != nullptr && SDL_GL_MakeCurrent(window->sdl, context->sdl) == 0;
}

void deleteContext(NativeContext* context) {
    SDL_GL_DeleteContext(context->sdl);
    delete context;
}

void swapBuffers(NativeWindow* window) {
    if (window->sdl != nullptr)
        SDL_GL_SwapWindow(window->sdl);
}

void setCursorVisible(bool visible) {
    if (desktop::videoReady())
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace backend

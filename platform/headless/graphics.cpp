// Windows and OpenGL contexts without a display: an EGL pbuffer per window on Mesa's surfaceless
// platform, in the compatibility profile so that the fixed-function pipeline works.
#include "platform/core/records.h"
#include "platform/headless/machine.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <set>

struct backend::NativeWindow {
    HWND window;
    EGLConfig config = nullptr;
    EGLSurface surface = EGL_NO_SURFACE;
};

struct backend::NativeContext {
    EGLContext context;
};

namespace {

struct Graphics {
    EGLDisplay display = EGL_NO_DISPLAY;
    std::vector<backend::PixelFormat> formats;
    std::vector<EGLConfig> configs; // one per format
    std::set<backend::NativeWindow*> windows;
    std::set<backend::NativeContext*> contexts;
};

Graphics graphics;

EGLint attribute(EGLConfig config, EGLint name) {
    EGLint value = 0;
    eglGetConfigAttrib(graphics.display, config, name, &value);
    return value;
}

// Opens the display once per process and lists one config for each distinct 8-bit format.
bool openDisplay() {
    if (graphics.display != EGL_NO_DISPLAY)
        return true;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        return false;
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        std::fputs("headless: no EGL surfaceless display (is Mesa installed?)\n", stderr);
        return false;
    }
    eglBindAPI(EGL_OPENGL_API);
    graphics.display = display;
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_NONE};
    EGLint count = 0;
    eglChooseConfig(display, wanted, nullptr, 0, &count);
    std::vector<EGLConfig> configs(static_cast<size_t>(count));
    eglChooseConfig(display, wanted, configs.data(), count, &count);
    for (EGLConfig config : configs) {
        if (attribute(config, EGL_RED_SIZE) != 8 || attribute(config, EGL_BLUE_SIZE) != 8)
            continue;
        const int alpha = attribute(config, EGL_ALPHA_SIZE);
        const backend::PixelFormat format{24 + alpha, alpha, attribute(config, EGL_DEPTH_SIZE),
                                          true};
        const bool known =
            std::any_of(graphics.formats.begin(), graphics.formats.end(), [&](auto& f) {
                return f.colourBits == format.colourBits && f.depthBits == format.depthBits;
            });
        if (known)
            continue;
        graphics.formats.push_back(format);
        graphics.configs.push_back(config);
    }
    return true;
}

} // namespace

namespace headless {

std::vector<uint8_t> readFrame(int* width, int* height) {
    EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    EGLint w = 0;
    EGLint h = 0;
    if (surface != EGL_NO_SURFACE) {
        eglQuerySurface(graphics.display, surface, EGL_WIDTH, &w);
        eglQuerySurface(graphics.display, surface, EGL_HEIGHT, &h);
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    if (pixels.empty())
        return pixels;
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    // OpenGL gives the bottom row first.
    const size_t stride = static_cast<size_t>(w) * 4;
    for (EGLint row = 0; row < h / 2; ++row)
        std::swap_ranges(pixels.begin() + row * stride, pixels.begin() + (row + 1) * stride,
                         pixels.begin() + (h - 1 - row) * stride);
    return pixels;
}

} // namespace headless

namespace backend {

NativeWindow* createWindow(HWND window) {
    if (headless::failing(headless::Failure::NativeWindow))
        return nullptr;
    auto* native = new NativeWindow{window};
    graphics.windows.insert(native);
    return native;
}

void destroyWindow(NativeWindow* window) {
    if (window->surface != EGL_NO_SURFACE) {
        if (eglGetCurrentSurface(EGL_DRAW) == window->surface)
            eglMakeCurrent(graphics.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroySurface(graphics.display, window->surface);
    }
    graphics.windows.erase(window);
    delete window;
}

void showWindow(NativeWindow*, bool) {}
void setWindowTitle(NativeWindow*, const char*) {}

bool acquireDrawable(NativeWindow*) {
    return !headless::failing(headless::Failure::Drawable);
}

const std::vector<PixelFormat>& pixelFormats() {
    openDisplay();
    return graphics.formats;
}

bool setPixelFormat(NativeWindow* window, const PixelFormat& format) {
    if (!openDisplay())
        return false;
    for (size_t i = 0; i < graphics.formats.size(); ++i) {
        const PixelFormat& known = graphics.formats[i];
        if (known.colourBits != format.colourBits || known.depthBits != format.depthBits)
            continue;
        const EGLint size[] = {EGL_WIDTH, std::max(1, window->window->clientWidth), EGL_HEIGHT,
                               std::max(1, window->window->clientHeight), EGL_NONE};
        window->config = graphics.configs[i];
        window->surface = eglCreatePbufferSurface(graphics.display, window->config, size);
        return window->surface != EGL_NO_SURFACE;
    }
    return false;
}

NativeContext* createContext(NativeWindow* window) {
    if (headless::failing(headless::Failure::Context) || window->config == nullptr)
        return nullptr;
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context =
        eglCreateContext(graphics.display, window->config, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT)
        return nullptr;
    auto* native = new NativeContext{context};
    graphics.contexts.insert(native);
    return native;
}

bool makeCurrent(NativeWindow* window, NativeContext* context) {
    if (context == nullptr)
        return graphics.display == EGL_NO_DISPLAY ||
               eglMakeCurrent(graphics.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (headless::failing(headless::Failure::MakeCurrent) || !graphics.contexts.count(context))
        return false;
    return eglMakeCurrent(graphics.display, window->surface, window->surface, context->context);
}

void deleteContext(NativeContext* context) {
    if (!graphics.contexts.erase(context))
        return;
    if (eglGetCurrentContext() == context->context)
        eglMakeCurrent(graphics.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(graphics.display, context->context);
    delete context;
}

void swapBuffers(NativeWindow* window) {
    // A pbuffer has one buffer: finishing the frame is what a swap means here.
    glFinish();
    headless::swapped(window->window);
}

} // namespace backend

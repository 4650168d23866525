// Device contexts, pixel formats, rendering contexts and the buffer swap.
#include "platform/core/records.h"

#include <set>

namespace {

std::set<HGLRC> contexts;

bool usable(HDC deviceContext) {
    return deviceContext != nullptr && platform::isWindow(deviceContext->window);
}

// Lower is better: a format short of what was asked for costs more than one beyond it.
int mismatch(int have, int want) {
    return have >= want ? have - want : 4 * (want - have);
}

} // namespace

HDC WINAPI GetDC(HWND window) {
    backend::noteCall("GetDC");
    if (!platform::isWindow(window) || !backend::acquireDrawable(window->native))
        return nullptr;
    // Every window keeps its own context for its whole life, as with a class of CS_OWNDC.
    return &window->deviceContext;
}

int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    backend::noteCall("ReleaseDC");
    return platform::isWindow(window) && deviceContext == &window->deviceContext ? 1 : 0;
}

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor) {
    backend::noteCall("ChoosePixelFormat");
    if (!usable(deviceContext) || descriptor == nullptr ||
        descriptor->nSize != sizeof(PIXELFORMATDESCRIPTOR) ||
        !(descriptor->dwFlags & PFD_SUPPORT_OPENGL))
        return 0;
    const auto& formats = backend::pixelFormats();
    const bool wantDouble = descriptor->dwFlags & PFD_DOUBLEBUFFER;
    int best = 0;
    int bestScore = 0;
    for (size_t i = 0; i < formats.size(); ++i) {
        const backend::PixelFormat& format = formats[i];
        if (format.doubleBuffer != wantDouble)
            continue;
        const int score = mismatch(format.colourBits, descriptor->cColorBits) +
                          mismatch(format.depthBits, descriptor->cDepthBits) +
                          mismatch(format.alphaBits, descriptor->cAlphaBits);
        if (best == 0 || score < bestScore) {
            best = static_cast<int>(i) + 1;
            bestScore = score;
        }
    }
    return best;
}

BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    backend::noteCall("SetPixelFormat");
    const auto& formats = backend::pixelFormats();
    // A window's pixel format can be set once only.
    if (!usable(deviceContext) || deviceContext->pixelFormat != 0 || format < 1 ||
        format > static_cast<int>(formats.size()))
        return FALSE;
    if (!backend::setPixelFormat(deviceContext->window->native, formats[format - 1]))
        return FALSE;
    deviceContext->pixelFormat = format;
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    backend::noteCall("SwapBuffers");
    if (!usable(deviceContext) || deviceContext->pixelFormat == 0)
        return FALSE;
    backend::swapBuffers(deviceContext->window->native);
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    backend::noteCall("wglCreateContext");
    if (!usable(deviceContext) || deviceContext->pixelFormat == 0)
        return nullptr;
    backend::NativeContext* native = backend::createContext(deviceContext->window->native);
    if (native == nullptr)
        return nullptr;
    HGLRC context = new HGLRC__{native};
    contexts.insert(context);
    return context;
}

BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    backend::noteCall("wglMakeCurrent");
    if (renderContext == nullptr)
        return backend::makeCurrent(nullptr, nullptr) ? TRUE : FALSE;
    if (!usable(deviceContext) || deviceContext->pixelFormat == 0 || !contexts.count(renderContext))
        return FALSE;
    return backend::makeCurrent(deviceContext->window->native, renderContext->native) ? TRUE
                                                                                      : FALSE;
}

BOOL WINAPI wglDeleteContext(HGLRC renderContext) {
    backend::noteCall("wglDeleteContext");
    if (contexts.erase(renderContext) == 0)
        return FALSE;
    backend::deleteContext(renderContext->native);
    delete renderContext;
    return TRUE;
}

namespace platform {

void resetContexts() {
    while (!contexts.empty())
        wglDeleteContext(*contexts.begin());
}

} // namespace platform

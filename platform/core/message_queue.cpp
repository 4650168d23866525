// The thread's message queue. There is one thread, so one queue.
#include "platform/core/records.h"

#include <deque>

namespace {

std::deque<MSG> queue;
bool quitPending = false;
int quitCode = 0;

bool matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && message.hwnd != window)
        return false;
    if (filterMin == 0 && filterMax == 0)
        return true;
    return message.message >= filterMin && message.message <= filterMax;
}

} // namespace

namespace platform {

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted{};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = backend::milliseconds();
    queue.push_back(posted);
}

void runModalLoop() {
    MSG message;
    for (;;) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            backend::waitEvents();
            continue;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchMessageA(&message);
    }
}

} // namespace platform

void WINAPI PostQuitMessage(int exitCode) {
    backend::noteCall("PostQuitMessage");
    quitPending = true;
    quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    backend::noteCall("PeekMessageA");
    backend::pumpEvents();
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!matches(*it, window, filterMin, filterMax))
            continue;
        *message = *it;
        if (remove & PM_REMOVE)
            queue.erase(it);
        return TRUE;
    }
    // The quit request is a flag, not a queued message: it is delivered only once nothing else
    // is waiting, whatever the filter.
    if (!quitPending)
        return FALSE;
    *message = MSG{};
    message->message = WM_QUIT;
    message->wParam = static_cast<WPARAM>(quitCode);
    message->time = backend::milliseconds();
    if (remove & PM_REMOVE)
        quitPending = false;
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    backend::noteCall("DispatchMessageA");
    WNDPROC procedure = platform::windowProcedure(message->hwnd);
    if (procedure == nullptr)
        return 0;
    return procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        // The keyboard's close command, Alt+F4, becomes the window's close request.
        if (wParam == VK_F4) {
            if (WNDPROC procedure = platform::windowProcedure(window))
                procedure(window, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return 0;
    }
}

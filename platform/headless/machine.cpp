// The headless machine: a virtual clock, scripted input, recorded message boxes, a display whose
// mode is only a value, and injectable failures.
#include "platform/headless/machine.h"
#include "platform/core/records.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <set>

namespace headless {
namespace {

constexpr int64_t nanosecondsPerSecond = 1'000'000'000;
constexpr DisplayMode desktop{1920, 1080, 32};

struct Input {
    HWND window; // null: the focused window, else the newest
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct Machine {
    int64_t clock = 0;
    int64_t frequency = 10'000'000;
    bool counterPinned = false;
    int64_t pinnedCounter = 0;
    std::deque<Input> input;
    std::function<void()> idleHandler;
    std::vector<MessageBoxRecord> boxes;
    std::function<int(const MessageBoxRecord&)> boxHandler;
    DisplayMode mode = desktop;
    bool cursorShown = true;
    std::set<Failure> failures;
    bool recording = false;
    std::vector<std::string> trace;
    std::function<void(HWND)> swapHandler;
    uint64_t swaps = 0;
};

Machine machine;

HWND inputTarget() {
    if (HWND focus = platform::focusedWindow())
        return focus;
    const auto& all = platform::liveWindows();
    return all.empty() ? nullptr : all.back();
}

} // namespace

void setClockNanoseconds(int64_t nanoseconds) {
    machine.clock = nanoseconds;
}
int64_t clockNanoseconds() {
    return machine.clock;
}
void advanceNanoseconds(int64_t nanoseconds) {
    machine.clock += nanoseconds;
}
void advanceMilliseconds(int64_t milliseconds) {
    machine.clock += milliseconds * 1'000'000;
}
void setCounterFrequency(int64_t ticksPerSecond) {
    machine.frequency = ticksPerSecond;
}

void pinCounter(int64_t ticks) {
    machine.counterPinned = true;
    machine.pinnedCounter = ticks;
}

void pressKey(WPARAM virtualKey, bool down, bool alt) {
    UINT message = down ? WM_KEYDOWN : WM_KEYUP;
    if (alt)
        message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    machine.input.push_back({nullptr, message, virtualKey, 0});
}

void requestClose() {
    machine.input.push_back({nullptr, WM_CLOSE, 0, 0});
}

void postToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::postMessage(window, message, wParam, lParam);
}

void onIdleWait(std::function<void()> handler) {
    machine.idleHandler = std::move(handler);
}

const std::vector<MessageBoxRecord>& messageBoxes() {
    return machine.boxes;
}
void onMessageBox(std::function<int(const MessageBoxRecord&)> handler) {
    machine.boxHandler = std::move(handler);
}

DisplayMode desktopMode() {
    return desktop;
}
DisplayMode currentDisplayMode() {
    return machine.mode;
}
bool cursorVisible() {
    return machine.cursorShown;
}

void setFailing(Failure failure, bool on) {
    if (on)
        machine.failures.insert(failure);
    else
        machine.failures.erase(failure);
}

bool failing(Failure failure) {
    return machine.failures.count(failure) != 0;
}

void recordCalls(bool on) {
    machine.recording = on;
    machine.trace.clear();
}

const std::vector<std::string>& calls() {
    return machine.trace;
}

std::vector<HWND> windows() {
    return platform::liveWindows();
}

WindowState windowState(HWND window) {
    if (!platform::isWindow(window))
        return {};
    return {window->className,    window->title,  window->style,
            window->exStyle,      window->x,      window->y,
            window->width,        window->height, window->clientWidth,
            window->clientHeight, window->visible};
}

void onSwap(std::function<void(HWND)> handler) {
    machine.swapHandler = std::move(handler);
}
uint64_t swapCount() {
    return machine.swaps;
}

void swapped(HWND window) {
    ++machine.swaps;
    if (machine.swapHandler)
        machine.swapHandler(window);
}

void reset() {
    machine.input.clear();
    machine.failures.clear();
    platform::resetContexts();
    platform::resetRecords();
    resetAudio();
    machine = Machine{};
}

} // namespace headless

namespace backend {

using headless::machine;

LONG changeDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    // The modes a common monitor offers, at 16 and 32 bits.
    static const std::set<std::pair<DWORD, DWORD>> sizes{
        {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1920, 1080}};
    if (headless::failing(headless::Failure::DisplayMode))
        return DISP_CHANGE_FAILED;
    if (!sizes.count({width, height}) || (bitsPerPixel != 16 && bitsPerPixel != 32))
        return DISP_CHANGE_BADMODE;
    machine.mode = {width, height, bitsPerPixel};
    return DISP_CHANGE_SUCCESSFUL;
}

void restoreDisplayMode() {
    machine.mode = headless::desktop;
}
void setCursorVisible(bool visible) {
    machine.cursorShown = visible;
}

int messageBox(HWND owner, const char* text, const char* caption, UINT type) {
    machine.boxes.push_back({owner, text, caption, type});
    const headless::MessageBoxRecord record = machine.boxes.back();
    return machine.boxHandler ? machine.boxHandler(record) : IDOK;
}

void pumpEvents() {
    while (!machine.input.empty()) {
        headless::Input next = machine.input.front();
        machine.input.pop_front();
        HWND target = next.window ? next.window : headless::inputTarget();
        if (target != nullptr)
            platform::postMessage(target, next.message, next.wParam, next.lParam);
    }
}

void waitEvents() {
    if (!machine.idleHandler) {
        std::fputs("headless: a modal loop waits for input that nothing will send\n", stderr);
        std::abort();
    }
    machine.idleHandler();
}

int64_t counterFrequency() {
    return machine.frequency;
}

int64_t counter() {
    if (machine.counterPinned)
        return machine.pinnedCounter;
    return static_cast<int64_t>(static_cast<__int128>(machine.clock) * machine.frequency /
                                headless::nanosecondsPerSecond);
}

uint32_t milliseconds() {
    return static_cast<uint32_t>(machine.clock / 1'000'000);
}

void noteCall(const char* operation) {
    if (machine.recording)
        machine.trace.emplace_back(operation);
}

} // namespace backend

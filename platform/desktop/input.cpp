// Keyboard and close events from SDL, posted to the window procedure as the platform's messages:
// key-down and key-up with virtual-key codes (system keys while Alt is held), and the close
// request. Characters are never posted.
#include "platform/core/backend.h"
#include "platform/desktop/desktop.h"

#include <SDL.h>

namespace {

// Keys by their place on the keyboard, with the platform's virtual-key codes.
struct KeyCode {
    SDL_Scancode scancode;
    WPARAM virtualKey;
};
constexpr KeyCode placedKeys[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},   {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN}, {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_TAB, VK_TAB},         {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_LEFT, VK_LEFT},       {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},     {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},   {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LALT, VK_MENU},       {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_PAUSE, 0x13},         {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PAGEUP, 0x21},        {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},           {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},   {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_DELETE, 0x2E},        {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RGUI, 0x5C},          {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_KP_0, 0x60},          {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_PLUS, 0x6B},       {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},     {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},  {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_SEMICOLON, 0xBA},     {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},         {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},        {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},         {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},     {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
};
constexpr WPARAM vkF10 = VK_F1 + 9;
constexpr WPARAM vkF13 = VK_F1 + 12;
constexpr WPARAM vkNumpad1 = 0x61;

// The platform's virtual-key code of a key, or 0 for a key it has no code for. Letters and
// digits follow the keyboard layout, the other keys their place on the keyboard.
WPARAM virtualKey(const SDL_Keysym& key) {
    if (key.sym >= SDLK_a && key.sym <= SDLK_z)
        return 'A' + (key.sym - SDLK_a);
    if (key.sym >= SDLK_0 && key.sym <= SDLK_9)
        return '0' + (key.sym - SDLK_0);
    const SDL_Scancode code = key.scancode;
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12)
        return VK_F1 + (code - SDL_SCANCODE_F1);
    if (code >= SDL_SCANCODE_F13 && code <= SDL_SCANCODE_F24)
        return vkF13 + (code - SDL_SCANCODE_F13);
    if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9)
        return vkNumpad1 + (code - SDL_SCANCODE_KP_1);
    for (const KeyCode& placed : placedKeys)
        if (placed.scancode == code)
            return placed.virtualKey;
    return 0;
}

void postKey(const SDL_KeyboardEvent& event) {
    HWND window = desktop::windowForId(event.windowID);
    const WPARAM key = virtualKey(event.keysym);
    if (window == nullptr || key == 0)
        return;
    // As on the platform: Alt itself, keys held with Alt (but not with Ctrl too) and F10 are
    // system keys, which the default processing turns into commands such as Alt+F4.
    const bool alt = (event.keysym.mod & KMOD_ALT) || key == VK_MENU;
    const bool system = (alt && !(event.keysym.mod & KMOD_CTRL)) || key == vkF10;
    const bool down = event.type == SDL_KEYDOWN;
    const UINT message =
        system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    platform::postMessage(window, message, key, 0);
}

} // namespace

namespace backend {

void pumpEvents() {
    if (!desktop::videoReady())
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
            postKey(event.key);
        else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
            if (HWND window = desktop::windowForId(event.window.windowID))
                platform::postMessage(window, WM_CLOSE, 0, 0);
    }
}

void waitEvents() {
    // A short limit: messages posted by the program itself do not wake SDL.
    if (desktop::videoReady())
        SDL_WaitEventTimeout(nullptr, 50);
    else
        SDL_Delay(50);
}

} // namespace backend

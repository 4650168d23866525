// What the desktop tests read from an X server themselves: windows, pixels and the screen mode.
// Xlib's names stay out of this header: its macros clash with GoogleTest's.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct _XDisplay;
using XWindow = unsigned long;

struct Area {
    int x, y, width, height;
};

struct Rgb {
    int red, green, blue;
};

// A client connection of the test's own.
class XConnection {
public:
    explicit XConnection(const std::string& display);
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;
    bool open() const { return display != nullptr; }

    // The viewable top-level window with this title, or 0.
    XWindow findWindow(const std::string& title) const;
    // Whether the window has the keyboard.
    bool hasFocus(XWindow window) const;
    // Where the window's inside lies on the screen.
    Area area(XWindow window) const;
    // The window manager's close request: WM_DELETE_WINDOW in a WM_PROTOCOLS message.
    void requestClose(XWindow window) const;
    // Whether the pointer shows no cursor where it is now.
    bool cursorHidden() const;
    // The share of the area's pixels on screen that pass the test, from 0 to 1.
    double shareOf(const Area& area, const std::function<bool(Rgb)>& test) const;

private:
    _XDisplay* display = nullptr;
};

// The screen's size as xrandr reports it, as "WIDTHxHEIGHT", or nothing.
std::optional<std::string> screenSize(const std::string& display);

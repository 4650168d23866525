#include "tests/platform/desktop/x_screen.h"
#include "tests/platform/desktop/processes.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <regex>

XConnection::XConnection(const std::string& name) : display(XOpenDisplay(name.c_str())) {}

XConnection::~XConnection() {
    if (display != nullptr)
        XCloseDisplay(display);
}

XWindow XConnection::findWindow(const std::string& title) const {
    Window root = DefaultRootWindow(display);
    Window parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) && name != nullptr && title == name &&
            XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = children[i];
        XFree(name);
    }
    XFree(children);
    return found;
}

bool XConnection::hasFocus(XWindow window) const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus == window;
}

Area XConnection::area(XWindow window) const {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

void XConnection::requestClose(XWindow window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool XConnection::cursorHidden() const {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display);
    if (cursor == nullptr)
        return false;
    bool clear = true;
    for (int i = 0; i < cursor->width * cursor->height; ++i)
        clear = clear && (cursor->pixels[i] >> 24) == 0;
    XFree(cursor);
    return clear;
}

double XConnection::shareOf(const Area& area, const std::function<bool(Rgb)>& test) const {
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.x, area.y,
                              static_cast<unsigned>(area.width), static_cast<unsigned>(area.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return 0.0;
    long passing = 0;
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            // The servers the tests start are TrueColor at 24 bits: eight bits a channel.
            passing += test({static_cast<int>((pixel >> 16) & 0xff),
                             static_cast<int>((pixel >> 8) & 0xff), static_cast<int>(pixel & 0xff)})
                           ? 1
                           : 0;
        }
    XDestroyImage(image);
    return static_cast<double>(passing) / (static_cast<double>(area.width) * area.height);
}

std::optional<std::string> screenSize(const std::string& display) {
    const std::string report = runProgram({"xrandr", "--current"}, display.c_str());
    std::smatch found;
    if (!std::regex_search(report, found, std::regex(R"(current (\d+) x (\d+))")))
        return std::nullopt;
    return found[1].str() + "x" + found[2].str();
}

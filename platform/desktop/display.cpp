// The X display the backend works on, and the one line that tells when there is none.
#include "platform/desktop/desktop.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <string>

namespace desktop {

void reportNoDisplay(const char* why) {
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "pelvaro: no display (%s): no window, screen mode or message box\n", why);
}

Display* xDisplay() {
    static Display* display = [] {
        Display* opened = XOpenDisplay(nullptr);
        if (opened != nullptr)
            return opened;
        const std::string name = XDisplayName(nullptr);
        reportNoDisplay(name.empty() ? "DISPLAY is not set"
                                     : ("cannot open X display " + name).c_str());
        return opened;
    }();
    return display;
}

bool gtkReady() {
    static const bool ready = [] {
        if (xDisplay() == nullptr)
            return false;
        // GTK would otherwise switch the process to the user's locale, and printf's decimal
        // point with it.
        gtk_disable_setlocale();
        if (gtk_init_check(nullptr, nullptr))
            return true;
        reportNoDisplay("GTK cannot open the X display");
        return false;
    }();
    return ready;
}

} // namespace desktop

// What the parts of the desktop backend share: the X display, SDL's video and GTK, each brought
// up on first use, and the windows that exist.
#pragma once

#include "platform/win32.h"

#include <X11/Xlib.h>

namespace desktop {

// The layer's own connection to the X server, or null when there is none; the first failure
// says so once on standard error.
Display* xDisplay();
// Says once, on standard error, that there is no usable display and why.
void reportNoDisplay(const char* why);

// SDL's video on the X display; false when it cannot be had.
bool videoReady();
// GTK on the X display; false when it cannot be had.
bool gtkReady();

// The record behind an SDL window id, or null.
HWND windowForId(unsigned id);
// The X window of the newest visible window of ours, or 0: a box stays above it.
Window topXWindow();
// Gives the keyboard back to the newest visible window of ours, as after a box.
void focusTopWindow();

} // namespace desktop

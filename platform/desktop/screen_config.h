// The screen's configuration as XRandR sees it: the size of the screen and the mode of the CRTC
// that drives our monitor. Taken before a change, applied to undo it.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <optional>
#include <vector>

namespace desktop {

struct ScreenConfig {
    RRCrtc crtc = 0;
    RRMode mode = 0;
    int x = 0;
    int y = 0;
    Rotation rotation = RR_Rotate_0;
    std::vector<RROutput> outputs;
    int width = 0; // the screen's size
    int height = 0;
    int widthMm = 0;
    int heightMm = 0;
};

// The configuration now, or nothing when the display has no XRandR or no monitor on.
std::optional<ScreenConfig> currentScreenConfig(Display* display);
// The mode of width by height that the monitor of the configuration offers, or 0.
RRMode findMode(Display* display, const ScreenConfig& config, unsigned width, unsigned height);
// The configuration with the monitor switched to the mode, the screen resized to fit.
ScreenConfig withMode(Display* display, const ScreenConfig& config, RRMode mode);
// Makes the configuration the screen's; false when the server refuses.
bool applyScreenConfig(Display* display, const ScreenConfig& config);

} // namespace desktop

// Reading and setting the screen's XRandR configuration.
#include "platform/desktop/screen_config.h"

#include <algorithm>
#include <memory>

namespace desktop {
namespace {

struct FreeResources {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct FreeOutput {
    void operator()(XRROutputInfo* output) const { XRRFreeOutputInfo(output); }
};
struct FreeCrtc {
    void operator()(XRRCrtcInfo* crtc) const { XRRFreeCrtcInfo(crtc); }
};
using Resources = std::unique_ptr<XRRScreenResources, FreeResources>;
using OutputInfo = std::unique_ptr<XRROutputInfo, FreeOutput>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, FreeCrtc>;

Resources resources(Display* display) {
    return Resources(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)));
}

const XRRModeInfo* modeInfo(const XRRScreenResources& resources, RRMode mode) {
    for (int i = 0; i < resources.nmode; ++i)
        if (resources.modes[i].id == mode)
            return &resources.modes[i];
    return nullptr;
}

bool sideways(Rotation rotation) {
    return rotation & (RR_Rotate_90 | RR_Rotate_270);
}

void screenSize(Display* display, int* width, int* height) {
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth);
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
}

int errors = 0;
int countError(Display*, XErrorEvent*) {
    ++errors;
    return 0;
}

// Runs the requests with the server's errors counted instead of ending the program.
template <typename Requests> bool withoutErrors(Display* display, Requests requests) {
    XSync(display, False);
    errors = 0;
    auto previous = XSetErrorHandler(countError);
    const bool done = requests();
    XSync(display, False);
    XSetErrorHandler(previous);
    return done && errors == 0;
}

} // namespace

std::optional<ScreenConfig> currentScreenConfig(Display* display) {
    int event, error, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 102)
        return std::nullopt;
    Resources all = resources(display);
    if (!all)
        return std::nullopt;
    // The primary monitor, else the first one that is lit.
    std::vector<RROutput> candidates{XRRGetOutputPrimary(display, DefaultRootWindow(display))};
    candidates.insert(candidates.end(), all->outputs, all->outputs + all->noutput);
    for (RROutput output : candidates) {
        OutputInfo info(output ? XRRGetOutputInfo(display, all.get(), output) : nullptr);
        if (!info || info->connection != RR_Connected || info->crtc == 0)
            continue;
        CrtcInfo crtc(XRRGetCrtcInfo(display, all.get(), info->crtc));
        if (!crtc || crtc->mode == None)
            continue;
        ScreenConfig config;
        config.crtc = info->crtc;
        config.mode = crtc->mode;
        config.x = crtc->x;
        config.y = crtc->y;
        config.rotation = crtc->rotation;
        config.outputs.assign(crtc->outputs, crtc->outputs + crtc->noutput);
        screenSize(display, &config.width, &config.height);
        // The size in millimetres only tells the resolution: keep the one the server gave.
        const int screen = DefaultScreen(display);
        config.widthMm = DisplayWidthMM(display, screen) * config.width /
                         std::max(1, DisplayWidth(display, screen));
        config.heightMm = DisplayHeightMM(display, screen) * config.height /
                          std::max(1, DisplayHeight(display, screen));
        return config;
    }
    return std::nullopt;
}

RRMode findMode(Display* display, const ScreenConfig& config, unsigned width, unsigned height) {
    Resources all = resources(display);
    if (!all || config.outputs.empty())
        return 0;
    OutputInfo output(XRRGetOutputInfo(display, all.get(), config.outputs.front()));
    if (!output)
        return 0;
    // The monitor lists its modes best first.
    for (int i = 0; i < output->nmode; ++i) {
        const XRRModeInfo* mode = modeInfo(*all, output->modes[i]);
        if (mode != nullptr && mode->width == width && mode->height == height &&
            !(mode->modeFlags & RR_Interlace))
            return mode->id;
    }
    return 0;
}

ScreenConfig withMode(Display* display, const ScreenConfig& config, RRMode mode) {
    ScreenConfig changed = config;
    changed.mode = mode;
    Resources all = resources(display);
    if (!all)
        return changed;
    // The screen just holds every lit monitor, ours in its new mode.
    int right = 0, bottom = 0;
    for (int i = 0; i < all->ncrtc; ++i) {
        CrtcInfo crtc(XRRGetCrtcInfo(display, all.get(), all->crtcs[i]));
        const bool ours = all->crtcs[i] == config.crtc;
        const XRRModeInfo* info = modeInfo(*all, ours ? mode : (crtc ? crtc->mode : None));
        if (!crtc || info == nullptr)
            continue;
        const bool turned = sideways(ours ? config.rotation : crtc->rotation);
        const int x = ours ? config.x : crtc->x;
        const int y = ours ? config.y : crtc->y;
        right = std::max(right, x + static_cast<int>(turned ? info->height : info->width));
        bottom = std::max(bottom, y + static_cast<int>(turned ? info->width : info->height));
    }
    changed.widthMm = config.widthMm * right / std::max(1, config.width);
    changed.heightMm = config.heightMm * bottom / std::max(1, config.height);
    changed.width = right;
    changed.height = bottom;
    return changed;
}

bool applyScreenConfig(Display* display, const ScreenConfig& config) {
    Resources all = resources(display);
    if (!all)
        return false;
    int width = 0, height = 0;
    screenSize(display, &width, &height);
    XGrabServer(display);
    bool done = true;
    if (width != config.width || height != config.height) {
        // Every lit monitor must lie within the screen at every step: ours is off while the
        // screen changes size.
        done = withoutErrors(display, [&] {
            if (XRRSetCrtcConfig(display, all.get(), config.crtc, CurrentTime, 0, 0, None,
                                 RR_Rotate_0, nullptr, 0) != RRSetConfigSuccess)
                return false;
            XRRSetScreenSize(display, DefaultRootWindow(display), config.width, config.height,
                             config.widthMm, config.heightMm);
            return true;
        });
    }
    done =
        done && withoutErrors(display, [&] {
            return XRRSetCrtcConfig(display, all.get(), config.crtc, CurrentTime, config.x,
                                    config.y, config.mode, config.rotation,
                                    const_cast<RROutput*>(config.outputs.data()),
                                    static_cast<int>(config.outputs.size())) == RRSetConfigSuccess;
        });
    XUngrabServer(display);
    XFlush(display);
    return done;
}

} // namespace desktop

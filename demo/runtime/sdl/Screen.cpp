// The SDL screen of Platform.h: opens the first way of showing it that
// PresentPath lists for the window and that works, hands each presentation
// to that way, and closes it again: on Wayland our own buffers on SDL's
// surface; elsewhere a graphics processor's renderer where PreferRenderer
// keeps it, then on X11 the window surface; last whatever renderer SDL has.
#include <cstdio>

#include "demo/runtime/Platform.h"
#include "demo/runtime/sdl/PresentPath.h"
#include "demo/runtime/sdl/SdlScreen.h"
#include "demo/runtime/sdl/WindowProbe.h"

SdlScreen sdlScreen;

namespace {

// A renderer made with flags, if PresentPath's step keeps it.
bool OpenRenderer(const ScreenPlacement& placement, Uint32 flags, bool onlyPreferred) {
    SDL_Renderer* renderer = SDL_CreateRenderer(sdlScreen.window, -1, flags);
    if (renderer == nullptr) {
        return false;
    }
    if (onlyPreferred && !PreferRenderer(RendererTraitsOf(renderer), placement.atRetrace)) {
        SDL_DestroyRenderer(renderer);
        return false;
    }
    return sdlScreen.renderer.Open(renderer, placement);
}

ScreenPath OpenStep(PresentStep step, const ScreenPlacement& placement, Uint32 vsync) {
    switch (step) {
        case PresentStep::kGpuRenderer:
            return OpenRenderer(placement, SDL_RENDERER_ACCELERATED | vsync, true)
                       ? ScreenPath::kRenderer
                       : ScreenPath::kNone;
        case PresentStep::kStretchingRenderer:
            return OpenRenderer(placement, SDL_RENDERER_ACCELERATED | vsync, false)
                       ? ScreenPath::kRenderer
                       : ScreenPath::kNone;
        case PresentStep::kWaylandBuffers:
            sdlScreen.wayland = OpenWaylandScreen(sdlScreen.window);
            return sdlScreen.wayland != nullptr ? ScreenPath::kWayland : ScreenPath::kNone;
        case PresentStep::kWindowSurface:
            return SDL_GetWindowSurface(sdlScreen.window) != nullptr ? ScreenPath::kSurface
                                                                     : ScreenPath::kNone;
        case PresentStep::kAnyRenderer:
            return sdlScreen.renderer.Open(SDL_CreateRenderer(sdlScreen.window, -1, vsync),
                                           placement)
                       ? ScreenPath::kRenderer
                       : ScreenPath::kNone;
    }
    return ScreenPath::kNone;
}

ScreenPath OpenPath(const ScreenPlacement& placement) {
    // Flip mode 1 presents at the retrace; 0 presents at once.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, placement.atRetrace ? "1" : "0");
    const Uint32 vsync = placement.atRetrace ? SDL_RENDERER_PRESENTVSYNC : 0;
    for (PresentStep step : PresentSteps(WindowSystemOf(sdlScreen.window), placement.autoStretch)) {
        const ScreenPath path = OpenStep(step, placement, vsync);
        if (path != ScreenPath::kNone) {
            return path;
        }
    }
    return ScreenPath::kNone;
}

}  // namespace

bool OpenPlatformScreen(const ScreenPlacement& placement, PlatformScreen& traits) {
    sdlScreen.window = static_cast<SDL_Window*>(placement.parent);
    sdlScreen.placement = placement;
    sdlScreen.path = OpenPath(placement);
    if (sdlScreen.path == ScreenPath::kNone) {
        const char* error = SDL_GetError();
        std::fprintf(stderr, "wobblet: the %s video driver offers no way to show the screen%s%s\n",
                     SDL_GetCurrentVideoDriver(), error[0] != '\0' ? ": " : "", error);
        sdlScreen = SdlScreen{};
        return false;
    }
    traits.refreshHz = RefreshRateOf(sdlScreen.window);
    // The compositor's frame callbacks set the beat on Wayland.
    traits.paced = sdlScreen.path != ScreenPath::kWayland;
    return true;
}

ScreenShown ShowPlatformScreen(const ScreenPlacement& placement, const PixelBuffer* back,
                               const std::vector<DamageRect>& changed) {
    switch (sdlScreen.path) {
        case ScreenPath::kRenderer:
            if (!sdlScreen.renderer.IsOpen()) {
                // Its device was reset and no renderer could be made again.
                return ScreenShown::kLost;
            }
            // Only a renderer can wait for the retrace. One that fails may
            // be in the middle of a device reset, whose event comes later.
            return sdlScreen.renderer.Present(placement, *back, changed)
                       ? ScreenShown::kMayWaitForRetrace
                       : ScreenShown::kNotShown;
        case ScreenPath::kSurface:
            // A window without a surface for now (minimised, out of memory)
            // gets one again.
            return sdlScreen.surface.Present(sdlScreen.window, placement.x, placement.y,
                                             back->Row(0), back->stride, back->width, back->height,
                                             changed)
                       ? ScreenShown::kAtOnce
                       : ScreenShown::kNotShown;
        case ScreenPath::kWayland:
            return PresentOnWayland(sdlScreen.wayland, sdlScreen.window, placement.x, placement.y,
                                    back->Row(0), back->stride, back->width, back->height, changed);
        case ScreenPath::kNone:
            break;
    }
    return ScreenShown::kLost;
}

// SDL reports a Wayland window's minimising only as it was asked for, and
// never its coming back: there the compositor's frame callbacks say it.
bool PlatformScreenSeen() {
    if (sdlScreen.path == ScreenPath::kNone || sdlScreen.path == ScreenPath::kWayland) {
        return true;
    }
    return (SDL_GetWindowFlags(sdlScreen.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

void ClosePlatformScreen() {
    sdlScreen.renderer.Close();
    CloseWaylandScreen(sdlScreen.wayland);
    sdlScreen = SdlScreen{};
}

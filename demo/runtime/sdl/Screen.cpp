// The SDL screen: how the platform shows the core's back buffer, chosen by
// what the window's video driver offers. A graphics processor's renderer that
// waits for the retrace is kept; otherwise an X11 window takes its window
// surface in shared memory, a Wayland window shared-memory buffers on its own
// surface, and any other driver an SDL renderer of whatever kind it has.
#include <SDL_syswm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/sdl/PresentPath.h"
#include "demo/runtime/sdl/RendererPresent.h"
#include "demo/runtime/sdl/SdlPlatform.h"
#include "demo/runtime/sdl/SurfacePresent.h"
#include "demo/runtime/sdl/WaylandPresent.h"

namespace {

enum class Path { kNone, kRenderer, kSurface, kWayland };

struct Shower {
    Path path = Path::kNone;
    SDL_Window* window = nullptr;
    ScreenPlacement placement;
    RendererPresenter renderer;
    SurfacePresenter surface;
    WaylandScreen* wayland = nullptr;
};

Shower shower;
bool screenSystemLoaded = false;

bool IsFallbackDriver(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

SDL_SYSWM_TYPE WindowSystemOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(window, &info) == SDL_TRUE ? info.subsystem : SDL_SYSWM_UNKNOWN;
}

int RefreshRateOf(SDL_Window* window) {
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) {
        return mode.refresh_rate;
    }
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) {
        return mode.refresh_rate;
    }
    return 0;
}

// What the renderer SDL would give this window is, as far as presenting
// costs and waits are concerned. An OpenGL renderer names its rasteriser.
RendererTraits TraitsOf(SDL_Renderer* renderer) {
    RendererTraits traits;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0) {
        return traits;
    }
    traits.name = info.name != nullptr ? info.name : "";
    traits.accelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
    traits.waitsForRetrace = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    if (traits.name.rfind("opengl", 0) == 0 && SDL_GL_GetCurrentContext() != nullptr) {
        using GetString = const unsigned char* (*)(unsigned);
        constexpr unsigned kGlRenderer = 0x1F01;
        const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const unsigned char* text = getString != nullptr ? getString(kGlRenderer) : nullptr;
        if (text != nullptr) {
            traits.rasteriser = reinterpret_cast<const char*>(text);
        }
    }
    return traits;
}

// The renderer SDL gives this window, if it is the way to show it: always
// when the screen stretches, else only as PreferRenderer says.
bool OpenPreferredRenderer(const ScreenPlacement& placement, Uint32 vsync) {
    SDL_Window* window = shower.window;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsync);
    if (renderer == nullptr) {
        return false;
    }
    if (!placement.autoStretch && !PreferRenderer(TraitsOf(renderer), placement.atRetrace)) {
        SDL_DestroyRenderer(renderer);
        return false;
    }
    return shower.renderer.Open(renderer, placement);
}

Path OpenPath(const ScreenPlacement& placement) {
    SDL_Window* window = shower.window;
    // Flip mode 1 presents at the retrace; 0 presents at once.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, placement.atRetrace ? "1" : "0");
    const Uint32 vsync = placement.atRetrace ? SDL_RENDERER_PRESENTVSYNC : 0;
    const SDL_SYSWM_TYPE system = WindowSystemOf(window);
    // A renderer on a Wayland window would put a context of its own on the
    // surface the buffers go to: there it is asked for only to stretch.
    if (!placement.autoStretch && system == SDL_SYSWM_WAYLAND) {
        shower.wayland = OpenWaylandScreen(window);
        if (shower.wayland != nullptr) {
            return Path::kWayland;
        }
    } else if (OpenPreferredRenderer(placement, vsync)) {
        return Path::kRenderer;
    }
    if (placement.autoStretch) {
        return Path::kNone;
    }
    if (system == SDL_SYSWM_X11 && SDL_GetWindowSurface(window) != nullptr) {
        return Path::kSurface;
    }
    if (shower.renderer.Open(SDL_CreateRenderer(window, -1, vsync), placement)) {
        return Path::kRenderer;
    }
    return Path::kNone;
}

}  // namespace

int LoadScreenSystem() {
    if (screenSystemLoaded) {
        return 1;
    }
    // Ctrl+C and kill must keep ending the program: it only listens for its
    // window's close box.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return 0;
    }
    // With no display SDL quietly falls back to drivers that show nothing.
    // Only a user who asked for one of them by name gets it.
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    const bool userChose = requested != nullptr && requested[0] != '\0';
    if ((!userChose && IsFallbackDriver(SDL_GetCurrentVideoDriver())) ||
        SDL_GetNumVideoDisplays() < 1 || SDL_GetNumDisplayModes(0) < 1) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return 0;
    }
    // A window surface in shared memory, written by us and copied by the
    // display, not one drawn through an OpenGL context of SDL's: on a machine
    // without a GPU that context is a software rasteriser costing a fifth of
    // a core at 60 frames a second.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Nothing the program does with the mouse; unread motion would only push
    // the close event further back in the queue.
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    screenSystemLoaded = true;
    return 1;
}

void UnloadScreenSystem() {
    if (screenSystemLoaded) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        screenSystemLoaded = false;
    }
}

bool OpenPlatformScreen(const ScreenPlacement& placement, PlatformScreen& traits) {
    shower.window = static_cast<SDL_Window*>(placement.parent);
    shower.placement = placement;
    shower.path = OpenPath(placement);
    if (shower.path == Path::kNone) {
        const char* error = SDL_GetError();
        std::fprintf(stderr, "wobblet: the %s video driver offers no way to show the screen%s%s\n",
                     SDL_GetCurrentVideoDriver(), error[0] != '\0' ? ": " : "", error);
        shower = Shower{};
        return false;
    }
    traits.refreshHz = RefreshRateOf(shower.window);
    // The compositor's frame callbacks set the beat on Wayland.
    traits.paced = shower.path != Path::kWayland;
    return true;
}

ScreenShown ShowPlatformScreen(const ScreenPlacement& placement, const PixelBuffer* back,
                               const std::vector<DamageRect>& changed) {
    switch (shower.path) {
        case Path::kRenderer:
            if (!shower.renderer.IsOpen()) {
                // Its device was reset and no renderer could be made again.
                return ScreenShown::kLost;
            }
            // Only a renderer can wait for the retrace. One that fails may
            // be in the middle of a device reset, whose event comes later.
            return shower.renderer.Present(placement, *back, changed)
                       ? ScreenShown::kMayWaitForRetrace
                       : ScreenShown::kNotShown;
        case Path::kSurface:
            // A window without a surface for now (minimised, out of memory)
            // gets one again.
            return shower.surface.Present(shower.window, placement.x, placement.y, back->Row(0),
                                          back->stride, back->width, back->height, changed)
                       ? ScreenShown::kAtOnce
                       : ScreenShown::kNotShown;
        case Path::kWayland:
            return PresentOnWayland(shower.wayland, shower.window, placement.x, placement.y,
                                    back->Row(0), back->stride, back->width, back->height, changed);
        case Path::kNone:
            break;
    }
    return ScreenShown::kLost;
}

// SDL reports a Wayland window's minimising only as it was asked for, and
// never its coming back: there the compositor's frame callbacks say it.
bool PlatformScreenSeen() {
    if (shower.path == Path::kNone || shower.path == Path::kWayland) {
        return true;
    }
    return (SDL_GetWindowFlags(shower.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

void ClosePlatformScreen() {
    shower.renderer.Close();
    CloseWaylandScreen(shower.wayland);
    shower = Shower{};
}

// A repaint shows again what the last presentation left, at once and without
// the pacer, copying nothing the way of showing still holds.
void RepaintScreen() {
    switch (shower.path) {
        case Path::kSurface:
            // The window surface still holds the last frame unless the
            // window dropped it; then the next frame fills it whole.
            if (!shower.surface.ShowAgain(shower.window)) {
                DamageWholeScreen();
            }
            break;
        case Path::kWayland:
            // The compositor keeps the buffer it was given; it is only told
            // to look at all of it with the next commit.
            DamageWaylandWindow(shower.wayland);
            break;
        case Path::kRenderer:
            // Every presentation draws the whole texture, which keeps the
            // last frame.
        case Path::kNone:
            break;
    }
}

void RestoreScreenRenderer() {
    if (shower.path == Path::kRenderer) {
        if (!shower.renderer.Remake(shower.placement)) {
            std::fprintf(stderr,
                         "wobblet: the renderer could not be made again after its device"
                         " was reset: %s\n",
                         SDL_GetError());
        }
        DamageWholeScreen();
    }
}

void RestoreScreenTextures() {
    if (shower.path == Path::kRenderer) {
        shower.renderer.RestoreTexture(shower.placement);
        DamageWholeScreen();
    }
}

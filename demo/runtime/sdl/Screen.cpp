#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/FramePacer.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/ScreenDamage.h"
#include "demo/runtime/sdl/PresentPath.h"
#include "demo/runtime/sdl/SdlPlatform.h"
#include "demo/runtime/sdl/SurfacePresent.h"

namespace {

struct Screen {
    bool open = false;
    // False once presenting has failed for good: presenting then shows
    // nothing and says so no more.
    bool usable = false;
    SDL_Window* parent = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool autoStretch = false;
    int rightOffset = 0;
    int bottomOffset = 0;
    int refreshRate = 0;
    // Null when the screen presents through the window's surface.
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SurfacePresenter surface;
    // Top row first, blue-green-red-unused: what an ARGB8888 texture and a
    // depth-24 window surface take.
    std::unique_ptr<PixelBuffer> backBuffer;
    ScreenDamage damage;
    std::vector<DamageRect> changed;
    FramePacer pacer;
};

Screen screen;
bool screenSystemLoaded = false;

bool IsFallbackDriver(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

SDL_Texture* MakeTexture() {
    return SDL_CreateTexture(screen.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                             screen.width, screen.height);
}

// The part of the window the screen covers: its own rectangle, or with
// automatic stretch whatever the window leaves after the offsets.
SDL_Rect Destination() {
    SDL_Rect rect{screen.x, screen.y, screen.width, screen.height};
    if (screen.autoStretch) {
        int innerWidth = 0;
        int innerHeight = 0;
        SDL_GetWindowSize(screen.parent, &innerWidth, &innerHeight);
        rect.w = innerWidth - screen.x - screen.rightOffset;
        rect.h = innerHeight - screen.y - screen.bottomOffset;
    }
    return rect;
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

void ReleaseScreenResources() {
    if (screen.texture != nullptr) {
        SDL_DestroyTexture(screen.texture);
    }
    if (screen.renderer != nullptr) {
        SDL_DestroyRenderer(screen.renderer);
    }
    if (screen.backBuffer) {
        DetachDrawingFrom(screen.backBuffer.get());
    }
    screen = Screen{};
}

// Presentation through the renderer: the changed parts go into the texture,
// which keeps the rest, and the whole texture is drawn; the window is cleared
// first only where the screen leaves part of it uncovered.
bool PresentWithRenderer() {
    const PixelBuffer& back = *screen.backBuffer;
    for (const DamageRect& r : screen.changed) {
        const SDL_Rect rect{r.x, r.y, r.width, r.height};
        if (SDL_UpdateTexture(screen.texture, &rect, back.Row(r.y) + r.x * 4,
                              static_cast<int>(back.stride)) != 0) {
            return false;
        }
    }
    const SDL_Rect source{0, 0, screen.width, screen.height};
    const SDL_Rect destination = Destination();
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(screen.renderer, &outputWidth, &outputHeight);
    if (destination.x > 0 || destination.y > 0 || destination.x + destination.w < outputWidth ||
        destination.y + destination.h < outputHeight) {
        SDL_SetRenderDrawColor(screen.renderer, 0, 0, 0, 255);
        SDL_RenderClear(screen.renderer);
    }
    if (SDL_RenderCopy(screen.renderer, screen.texture, &source, &destination) != 0) {
        return false;
    }
    SDL_RenderPresent(screen.renderer);
    return true;
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

int MakeWindowScreen(WindowHandle parent, int x, int y, int width, int height, int autoStretch,
                     int rightOffset, int bottomOffset, int flipMode) {
    FreeWindowScreen();
    if (WindowNumberOf(parent) < 0 || width <= 0 || height <= 0) {
        return 0;
    }
    SDL_Window* window = static_cast<SDL_Window*>(parent);
    screen.parent = window;
    screen.x = x;
    screen.y = y;
    screen.width = width;
    screen.height = height;
    screen.autoStretch = autoStretch != 0;
    screen.rightOffset = rightOffset;
    screen.bottomOffset = bottomOffset;
    screen.backBuffer = NewPixelBuffer(width, height, 32, false);
    if (!screen.backBuffer) {
        ReleaseScreenResources();
        return 0;
    }
    screen.damage.Reset(width, height);
    // Flip mode 1 presents at the retrace; 0 presents at once.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, flipMode != 0 ? "1" : "0");
    const Uint32 vsync = flipMode != 0 ? SDL_RENDERER_PRESENTVSYNC : 0;
    screen.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsync);
    const bool keepRenderer =
        screen.renderer != nullptr &&
        (screen.autoStretch || PreferRenderer(TraitsOf(screen.renderer), flipMode != 0));
    if (!keepRenderer && screen.renderer != nullptr) {
        SDL_DestroyRenderer(screen.renderer);
        screen.renderer = nullptr;
    }
    if (keepRenderer) {
        screen.texture = MakeTexture();
        if (screen.texture == nullptr) {
            ReleaseScreenResources();
            return 0;
        }
    } else if (screen.autoStretch || SDL_GetWindowSurface(window) == nullptr) {
        // Neither way to show anything.
        ReleaseScreenResources();
        return 0;
    }
    screen.refreshRate = RefreshRateOf(window);
    screen.pacer.Start(screen.refreshRate);
    screen.open = true;
    screen.usable = true;
    return 1;
}

DrawTarget* ScreenTarget() {
    if (!screen.open) {
        EndDrawing();
        return nullptr;
    }
    return MakeScreenOutput(screen.backBuffer.get(), &screen.damage);
}

int PresentScreen() {
    if (!screen.open) {
        return 0;
    }
    if (!screen.usable) {
        // Nothing is shown any more, but the loop it paces must not spin.
        screen.pacer.AfterPresent(FramePacer::Clock::duration::zero());
        return 1;
    }
    screen.damage.Take(screen.changed);
    const FramePacer::Clock::time_point start = FramePacer::Clock::now();
    bool shown = false;
    if (screen.renderer != nullptr) {
        shown = PresentWithRenderer();
        if (!shown) {
            // The textures may have gone with the device: once more, whole.
            RestoreScreenTextures();
            screen.damage.Take(screen.changed);
            shown = screen.texture != nullptr && PresentWithRenderer();
        }
    } else {
        const PixelBuffer& back = *screen.backBuffer;
        shown = screen.surface.Present(screen.parent, screen.x, screen.y, back.Row(0), back.stride,
                                       back.width, back.height, screen.changed);
    }
    const FramePacer::Clock::duration took = FramePacer::Clock::now() - start;
    if (!shown) {
        screen.usable = false;
        screen.pacer.AfterPresent(FramePacer::Clock::duration::zero());
        return 0;
    }
    // Only a renderer can wait for the retrace; a window surface's update
    // that took long was held up by the machine, not by the display.
    screen.pacer.AfterPresent(screen.renderer != nullptr ? took
                                                         : FramePacer::Clock::duration::zero());
    return 1;
}

void FreeWindowScreen() {
    if (screen.open) {
        ReleaseScreenResources();
    }
}

SDL_Window* ScreenWindow() {
    return screen.open ? screen.parent : nullptr;
}

void RepaintScreen() {
    if (screen.open) {
        screen.damage.AddAll();
        screen.surface.Forget();
    }
    PresentScreen();
}

void RestoreScreenTextures() {
    if (!screen.open) {
        return;
    }
    if (screen.texture != nullptr) {
        SDL_DestroyTexture(screen.texture);
        screen.texture = nullptr;
    }
    if (screen.renderer != nullptr) {
        screen.texture = MakeTexture();
    }
    // A new texture holds nothing yet.
    screen.damage.AddAll();
}

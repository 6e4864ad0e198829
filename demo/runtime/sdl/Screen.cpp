#include <cstdlib>
#include <cstring>
#include <memory>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/FramePacer.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/sdl/SdlPlatform.h"

namespace {

struct Screen {
    bool open = false;
    // False once the renderer has failed for good: presenting then shows
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
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    // Top row first, blue-green-red-unused: what an ARGB8888 texture takes.
    std::unique_ptr<PixelBuffer> backBuffer;
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
    // Flip mode 1 presents at the retrace; 0 presents at once.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, flipMode != 0 ? "1" : "0");
    const Uint32 vsync = flipMode != 0 ? SDL_RENDERER_PRESENTVSYNC : 0;
    screen.renderer = SDL_CreateRenderer(window, -1, vsync);
    if (screen.renderer == nullptr && vsync != 0) {
        // A renderer without retrace sync still serves: the pacer keeps time.
        screen.renderer = SDL_CreateRenderer(window, -1, 0);
    }
    if (!screen.backBuffer || screen.renderer == nullptr) {
        ReleaseScreenResources();
        return 0;
    }
    screen.texture = MakeTexture();
    if (screen.texture == nullptr) {
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
    return MakeScreenOutput(screen.backBuffer.get());
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
    const PixelBuffer& back = *screen.backBuffer;
    if (SDL_UpdateTexture(screen.texture, nullptr, back.Row(0), static_cast<int>(back.stride)) !=
        0) {
        RestoreScreenTextures();
        if (screen.texture == nullptr || SDL_UpdateTexture(screen.texture, nullptr, back.Row(0),
                                                           static_cast<int>(back.stride)) != 0) {
            screen.usable = false;
            screen.pacer.AfterPresent(FramePacer::Clock::duration::zero());
            return 0;
        }
    }
    const SDL_Rect source{0, 0, screen.width, screen.height};
    const SDL_Rect destination = Destination();
    SDL_SetRenderDrawColor(screen.renderer, 0, 0, 0, 255);
    SDL_RenderClear(screen.renderer);
    if (SDL_RenderCopy(screen.renderer, screen.texture, &source, &destination) != 0) {
        screen.usable = false;
        screen.pacer.AfterPresent(FramePacer::Clock::duration::zero());
        return 0;
    }
    const FramePacer::Clock::time_point start = FramePacer::Clock::now();
    SDL_RenderPresent(screen.renderer);
    screen.pacer.AfterPresent(FramePacer::Clock::now() - start);
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
    PresentScreen();
}

void RestoreScreenTextures() {
    if (!screen.open) {
        return;
    }
    if (screen.texture != nullptr) {
        SDL_DestroyTexture(screen.texture);
    }
    screen.texture = MakeTexture();
}

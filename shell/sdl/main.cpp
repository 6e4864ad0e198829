// velmora in an SDL2 window. main only opens the window, runs the core's
// start-up and turns SDL's events into the core's handlers
// (EventTranslation.cpp).
//
// The loop waits for events instead of polling the queue: the ticks still
// come one per 20 ms from the timer, with the same order of work, but
// between them velmora leaves the processor alone. While nobody can see the
// window its ticks draw nothing, and the loop keeps them itself
// (TickTimer.h).
#include <SDL.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/sdl/EventTranslation.h"
#include "shell/sdl/SdlWindow.h"

namespace {

constexpr const char* kUseCaptureTool = "velmora-capture writes its frames as PNG files instead";

bool IsWindowless(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
           std::strcmp(driver, "dummy") == 0;
}

// Why there is no display, from what SDL would have connected to.
std::string NoDisplayReason() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) {
        return "DISPLAY and WAYLAND_DISPLAY are not set";
    }
    std::string reason = "cannot connect to";
    if (x11 != nullptr && *x11 != '\0') {
        reason += std::string(" DISPLAY=") + x11;
    }
    if (wayland != nullptr && *wayland != '\0') {
        reason += std::string(" WAYLAND_DISPLAY=") + wayland;
    }
    return reason;
}

// OpenGL (Mesa) takes and frees large buffers in every frame. Where glibc
// puts them moves with what was freed before, and a run could end up handing
// their pages back to the system and faulting them in again on every tick
// (docs/performance.md has what that cost). Fixed thresholds keep such
// buffers, and the free memory at the heap's top, in the process.
void KeepFrameBuffersInTheHeap() {
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
}

}  // namespace

int main() {
    KeepFrameBuffersInTheHeap();
    // First of all: left on, SDL probes a GLX context of its own on this
    // thread for the window surface, which clashes with our EGL context.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The window class is the title, as the window manager sees it too.
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowTitle, 1);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowTitle, 1);
    const bool driverChosen = std::getenv("SDL_VIDEODRIVER") != nullptr;

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        // Some SDLs fail here without a display rather than settling for a
        // windowless driver; the user hears the same either way.
        if (!driverChosen) {
            std::fprintf(stderr, "velmora: no display to open a window on (%s; SDL: %s); %s\n",
                         NoDisplayReason().c_str(), SDL_GetError(), kUseCaptureTool);
        } else {
            std::fprintf(stderr, "velmora: cannot open a window (%s); %s\n", SDL_GetError(),
                         kUseCaptureTool);
        }
        return 1;
    }
    // Without a display SDL may settle for a driver that shows nothing; a
    // program nobody can see must not run on invisibly.
    if (!driverChosen && IsWindowless(SDL_GetCurrentVideoDriver())) {
        std::fprintf(stderr, "velmora: no display to open a window on (%s); %s\n",
                     NoDisplayReason().c_str(), kUseCaptureTool);
        SDL_Quit();
        return 1;
    }
    std::string error;
    if (!CreateMainWindow(error)) {
        std::fprintf(stderr, "velmora: cannot open a window (%s); %s\n", error.c_str(),
                     kUseCaptureTool);
        DestroyMainWindow();
        SDL_Quit();
        return 1;
    }

    // The window exists: its creation starts the timer, whose first tick is
    // handled only once the loop runs, after start-up.
    OnCreate();
    int exitCode = 0;
    if (InitApp() != 0) {
        exitCode = RunEventLoop();
    }
    // The window goes away with the process, as the program never destroys
    // it itself. Destroying it here would race the wake-up that SDL sends to
    // it from the timer thread on a connection of its own: a wake-up still on
    // its way when the window is gone ends the process with an X error and
    // status 1, after a clean quit.
    StopTimer(kTimerId);
    return exitCode;
}

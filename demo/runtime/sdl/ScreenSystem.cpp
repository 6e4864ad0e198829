// The screen system of an SDL program: SDL's video subsystem, loaded only
// where its driver can show a window to somebody.
#include <cstdlib>
#include <cstring>

#include "demo/runtime/runtime.h"
#include "demo/runtime/sdl/SdlPlatform.h"

namespace {

bool screenSystemLoaded = false;

bool IsFallbackDriver(const char* driver) {
    return driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

int LoadScreenSystem() {
    if (screenSystemLoaded) {
        return 1;
    }
    // Ctrl+C and kill must keep ending the program: it only listens for its
    // window's close box.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    TolerateLateWakeUps();
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
    // without a GPU that context is a software rasteriser, which costs far
    // more processor time a frame than the copy.
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

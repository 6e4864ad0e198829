// The SDL platform's start-up and shutdown steps, and the taking of SDL's
// events: window events to the run-time's queue, renderer resets to the
// screen.
#include "demo/runtime/Platform.h"
#include "demo/runtime/sdl/SdlPlatform.h"

// SDL's video subsystem is started by LoadScreenSystem, not here: without a
// display the program must still start and say why it cannot open a window.
void StartPlatformProcess() {}
void StartPlatformDrawing() {}
void StartPlatformEvents() {}
void StopPlatformEvents() {}
void StopPlatformDrawing() {}

void StopPlatformProcess() {
    UnloadScreenSystem();
}

int TakePlatformMessage(int timeoutMs) {
    // Without the video subsystem no message can ever come.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return 0;
    }
    SDL_Event event;
    int got = SDL_PollEvent(&event);
    if (got == 0 && timeoutMs > 0) {
        got = SDL_WaitEventTimeout(&event, timeoutMs);
    } else if (got == 0 && timeoutMs < 0) {
        got = SDL_WaitEvent(&event);
    }
    if (got == 0) {
        return 0;
    }
    switch (event.type) {
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_RENDER_DEVICE_RESET:
            RestoreScreenRenderer();
            break;
        case SDL_RENDER_TARGETS_RESET:
            RestoreScreenTextures();
            break;
        default:
            break;
    }
    return static_cast<int>(event.type);
}

#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/sdl/SdlPlatform.h"

void RuntimeStartup() {
    StartRuntimeCore();
    StartWindowSupport();
    RegisterPngDecoder();
}

void RuntimeShutdown() {
    FreeWindowScreen();
    StopWindowSupport();
    StopRuntimeCore();
    UnloadScreenSystem();
}

int WaitEvent(int timeoutMs) {
    if (int code = TakeEventCode(); code != 0) {
        return code;
    }
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
    // One system message per call; the events it queues come with later
    // calls.
    switch (event.type) {
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window);
            break;
        case SDL_RENDER_DEVICE_RESET:
        case SDL_RENDER_TARGETS_RESET:
            RestoreScreenTextures();
            break;
        default:
            break;
    }
    return static_cast<int>(event.type);
}

int PollEvent() {
    return WaitEvent(0);
}

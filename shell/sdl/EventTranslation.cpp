// The event loop: each SDL event becomes the handler the core has for the
// window message it stands for, so the window runs exactly the code the
// capture tool and the tests drive.
#include "shell/sdl/EventTranslation.h"

#include <cstdio>

#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/sdl/SdlWindow.h"
#include "shell/sdl/TickTimer.h"

namespace {

bool quitPosted = false;
int quitCode = 0;

void DispatchWindowEvent(const SDL_WindowEvent& event) {
    SDL_Window* window = MainWindow();
    if (window == nullptr || event.windowID != SDL_GetWindowID(window)) {
        return;
    }
    FollowFrame();
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            OnPaint();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            OnSize(event.data1, event.data2);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            OnClose();
            break;
        default:
            break;
    }
}

}  // namespace

void RunTick() {
    FollowFrame();
    OnTimer();
    KeepTicksFor(MainWindowCanBeSeen());
}

int RunEventLoop(void (*beforeTick)()) {
    int exitCode = 0;
    while (!QuitPosted(exitCode)) {
        const int wait = MillisecondsToLoopWake();
        SDL_Event event;
        SDL_ClearError();
        const bool got =
            (wait < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, wait)) == 1;
        // A wait with a time limit that ran out has nothing to say; one that
        // ended early, or one without a limit, failed.
        if (!got && (wait < 0 || (MillisecondsToLoopWake() > 0 && SDL_GetError()[0] != '\0'))) {
            std::fprintf(stderr, "velmora: waiting for events failed: %s\n", SDL_GetError());
            return 1;
        }
        if (wait >= 0) {
            // Slept through by a window nobody saw: their pictures are
            // passed, and the window seen again is drawn at its next tick.
            for (int due = TakeLoopTicks(); due > 0; --due) {
                if (beforeTick != nullptr) {
                    beforeTick();
                }
                PassOverTick();
            }
            KeepTicksFor(MainWindowCanBeSeen());
        }
        if (got) {
            if (beforeTick != nullptr && IsTickEvent(event)) {
                beforeTick();
            }
            DispatchEvent(event);
        }
    }
    return exitCode;
}

bool QuitPosted(int& exitCode) {
    exitCode = quitCode;
    return quitPosted;
}

void PostQuit(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

void DispatchEvent(const SDL_Event& event) {
    if (IsTickEvent(event)) {
        if (TakeTick()) {
            RunTick();
        }
        return;
    }
    switch (event.type) {
        case SDL_TEXTINPUT:
            // UTF-8: a byte above 127 is part of a character outside the
            // key table.
            for (const char* byte = event.text.text; *byte != '\0'; ++byte) {
                if (static_cast<unsigned char>(*byte) <= 127) {
                    OnChar(*byte);
                }
            }
            break;
        case SDL_WINDOWEVENT:
            DispatchWindowEvent(event.window);
            break;
        case SDL_QUIT:
            // SIGINT or SIGTERM (SDL's own handlers turn them into this).
            OnClose();
            break;
        default:
            break;
    }
}

// wobblet whose window is asked to close when the process gets SIGUSR1, the
// way a compositor or a task bar asks a window that nobody sees: the close
// reaches SDL's queue as the window system's own would, whatever the frame
// loop is waiting for then. Exits 0 when the loop ended after the close was
// asked for, 1 when it ended before (its screen lost).
#include <SDL.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "demo/Wobblet.h"
#include "demo/runtime/runtime.h"

int main() {
    // Blocked before SDL starts any thread of its own, so that only the
    // closer below takes the signal.
    sigset_t closeSignal;
    sigemptyset(&closeSignal);
    sigaddset(&closeSignal, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &closeSignal, nullptr);
    if (const char* failed = StartWobblet(); failed != nullptr) {
        std::fprintf(stderr, "wobblet: %s failed\n", failed);
        return 1;
    }
    const Uint32 window = SDL_GetWindowID(static_cast<SDL_Window*>(NativeWindowHandle(0)));
    static std::atomic<bool> asked{false};
    // Ends with the process.
    std::thread([closeSignal, window] {
        int signal = 0;
        sigwait(&closeSignal, &signal);
        SDL_Event close{};
        close.type = SDL_WINDOWEVENT;
        close.window.windowID = window;
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        asked = true;
        SDL_PushEvent(&close);
    }).detach();
    while (RunFrame()) {
    }
    StopWobblet();
    return asked ? 0 : 1;
}

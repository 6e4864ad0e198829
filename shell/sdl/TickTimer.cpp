// The tick's timer: started and stopped on the event thread, expiring on
// SDL's timer thread, which only ever posts the tick event.
#include "shell/sdl/TickTimer.h"

#include <mutex>

#include "render/Message.h"
#include "shell/Platform.h"
#include "shell/sdl/PendingTick.h"
#include "shell/sdl/TickSchedule.h"

namespace {

Uint32 tickEventType = 0;
SDL_TimerID tickTimer = 0;
PendingTick pendingTick;
// Touched by StartTimer before the timer exists, then only by the timer
// thread.
TickSchedule tickSchedule;

// Posting wakes the waiting loop through the window. Once StopTimer has
// returned no post may follow, or it could reach a window that is already
// destroyed; SDL_RemoveTimer alone does not wait for a callback in flight.
std::mutex timerGate;
bool timerLive = false;

// Runs on SDL's timer thread: it may only post, never touch the core.
Uint32 TimerExpired(Uint32, void*) {
    std::lock_guard<std::mutex> gate(timerGate);
    if (!timerLive) {
        return 0;
    }
    if (pendingTick.Claim()) {
        SDL_Event event{};
        event.type = tickEventType;
        if (SDL_PushEvent(&event) != 1) {
            pendingTick.Release();  // the queue is full: try again next time
        }
    }
    return tickSchedule.Next(SDL_GetTicks64());
}

}  // namespace

bool RegisterTickEvent(std::string& error) {
    tickEventType = SDL_RegisterEvents(1);
    if (tickEventType == static_cast<Uint32>(-1)) {
        error = SDL_GetError();
        return false;
    }
    return true;
}

bool IsTickEvent(const SDL_Event& event) {
    return event.type == tickEventType;
}

bool TakeTick() {
    pendingTick.Release();
    return tickTimer != 0;
}

void StartTimer(int id, int milliseconds) {
    // As with a window timer, starting it again replaces it.
    StopTimer(id);
    tickSchedule.Start(SDL_GetTicks64(), static_cast<Uint32>(milliseconds));
    {
        std::lock_guard<std::mutex> gate(timerGate);
        timerLive = true;
    }
    tickTimer = SDL_AddTimer(static_cast<Uint32>(milliseconds), TimerExpired, nullptr);
    if (tickTimer == 0) {
        // Without its timer the window would never show a frame: a program
        // that cannot show anything must not run on invisibly.
        ShowMessage(SDL_GetError(), "SDL_AddTimer");
        PostQuit(1);
    }
}

void StopTimer(int) {
    {
        std::lock_guard<std::mutex> gate(timerGate);
        timerLive = false;
    }
    if (tickTimer != 0) {
        SDL_RemoveTimer(tickTimer);
        tickTimer = 0;
    }
}

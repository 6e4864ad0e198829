// The tick's timer: started and stopped on the event thread. While the window
// can be seen it expires on SDL's timer thread, which only ever posts the
// tick event; while it cannot, the event thread keeps the grid alone.
#include "shell/sdl/TickTimer.h"

#include <cstdint>
#include <mutex>

#include "render/Message.h"
#include "shell/Platform.h"
#include "shell/sdl/PendingTick.h"
#include "shell/sdl/TickSchedule.h"

namespace {

// While the loop keeps the ticks it wakes at the latest when this many are
// due, and it makes up at most twice as many at once: more than that were
// lost to a stall (the process stopped), and are dropped as the timer's own
// are.
constexpr std::uint32_t kLoopWakesAfterTicks = 50;
constexpr std::uint32_t kMostTicksMadeUp = 2 * kLoopWakesAfterTicks;

// Registered together: the tick, and the wake-up for a window seen again,
// which the loop dispatches to nothing.
Uint32 tickEventType = 0;
// Between StartTimer and StopTimer, whoever keeps the ticks.
bool timerOn = false;
// The timer's thread keeps the ticks while this is not 0; otherwise, while
// timerOn, the event loop does.
SDL_TimerID tickTimer = 0;
PendingTick pendingTick;
// Touched by the event thread only while no timer exists, and by the timer
// thread only while one does.
TickSchedule tickSchedule;

// Posting wakes the waiting loop through the window. Once the timer is let
// go no post may follow, or it could reach a window that is already
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

// The timer's thread takes the ticks on, its first expiry after the given
// delay; false, with SDL's reason shown, when SDL has no timer to give.
bool StartTimerThread(Uint32 firstDelay) {
    {
        std::lock_guard<std::mutex> gate(timerGate);
        timerLive = true;
    }
    tickTimer = SDL_AddTimer(firstDelay, TimerExpired, nullptr);
    if (tickTimer == 0) {
        // Without its timer the window would never show a frame: a program
        // that cannot show anything must not run on invisibly.
        ShowMessage(SDL_GetError(), "SDL_AddTimer");
        timerOn = false;
        PostQuit(1);
        return false;
    }
    return true;
}

// From here on no expiry touches the schedule or posts a tick.
void StopTimerThread() {
    {
        std::lock_guard<std::mutex> gate(timerGate);
        timerLive = false;
    }
    if (tickTimer != 0) {
        SDL_RemoveTimer(tickTimer);
        tickTimer = 0;
    }
}

}  // namespace

bool RegisterTickEvent(std::string& error) {
    tickEventType = SDL_RegisterEvents(2);
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
    // A tick posted before the loop took the ticks over is still one of the
    // grid's: the loop's own begin at the grid point after it.
    return timerOn;
}

void KeepTicksFor(bool seen) {
    if (!timerOn) {
        return;
    }
    const bool threadKeepsThem = tickTimer != 0;
    if (!seen && threadKeepsThem) {
        StopTimerThread();
    } else if (seen && !threadKeepsThem) {
        const std::uint64_t now = SDL_GetTicks64();
        const std::uint64_t due = tickSchedule.Due();
        StartTimerThread(due > now ? static_cast<Uint32>(due - now) : 1);
    }
}

int MillisecondsToLoopWake() {
    if (!timerOn || tickTimer != 0) {
        return -1;
    }
    const std::uint64_t now = SDL_GetTicks64();
    const std::uint64_t wakeAt =
        tickSchedule.Due() + std::uint64_t{kLoopWakesAfterTicks - 1} * tickSchedule.Period();
    return wakeAt > now ? static_cast<int>(wakeAt - now) : 0;
}

int TakeLoopTicks() {
    if (!timerOn || tickTimer != 0) {
        return 0;
    }
    return static_cast<int>(tickSchedule.TakeDue(SDL_GetTicks64(), kMostTicksMadeUp));
}

void WakeForSeenWindow() {
    if (!timerOn || tickTimer != 0) {
        return;  // nobody sleeps: the next tick finds the window seen
    }
    SDL_Event event{};
    event.type = tickEventType + 1;
    // A full queue wakes the loop all the same.
    SDL_PushEvent(&event);
}

void StartTimer(int id, int milliseconds) {
    // As with a window timer, starting it again replaces it.
    StopTimer(id);
    tickSchedule.Start(SDL_GetTicks64(), static_cast<Uint32>(milliseconds));
    timerOn = true;
    StartTimerThread(static_cast<Uint32>(milliseconds));
}

void StopTimer(int) {
    timerOn = false;
    StopTimerThread();
}

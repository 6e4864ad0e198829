// The tick of shell/Platform.h on SDL, on a fixed grid (TickSchedule). While
// the window can be seen an SDL timer whose thread posts a tick event keeps
// it, never more than one waiting (PendingTick). While it cannot, the thread
// is let go and the event loop keeps the ticks itself, waiting for events no
// longer than the next grid point: a window nobody sees costs one wake-up a
// tick instead of two threads' and the window system's. TickTimer.cpp
// defines StartTimer and StopTimer too.
#pragma once

#include <SDL.h>

#include <string>

// Before the first StartTimer: the event type the ticks are posted as. False,
// with SDL's reason in error, when SDL has no event type left.
bool RegisterTickEvent(std::string& error);
// Whether the event is the timer's tick.
bool IsTickEvent(const SDL_Event& event);
// As a tick event is taken off the queue, before it runs, so that an expiry
// during a long tick posts the next one. False for a tick posted just before
// the timer stopped: it must not run.
bool TakeTick();

// After every tick, with whether the window can be seen now: hands the ticks
// to the event loop while it cannot, back to the timer's thread when it can,
// on the same grid.
void KeepTicksFor(bool seen);
// How long the event loop may wait for events before the next tick it keeps
// is due (0: it is due now); -1 while it keeps none.
int MillisecondsToLoopTick();
// True, and the grid moved on, when the event loop keeps the ticks and one
// is due now: the loop then runs it as the timer's tick event would run.
bool TakeLoopTick();

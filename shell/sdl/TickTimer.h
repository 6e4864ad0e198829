// The tick of shell/Platform.h on SDL, on a fixed grid (TickSchedule). While
// the window can be seen an SDL timer whose thread posts a tick event keeps
// it, never more than one waiting (PendingTick). While it cannot, the thread
// is let go and the event loop keeps the ticks itself: it sleeps until an
// event comes (the window seen again, a key) or, at the latest, until a
// second's ticks are due, and then runs the ticks it slept through, undrawn,
// before the event. A window nobody sees costs a wake-up a second instead
// of one a tick. TickTimer.cpp defines StartTimer and StopTimer too.
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

// After every tick, and at every wake-up of a loop that keeps the ticks,
// with whether the window can be seen now: hands the ticks to the event
// loop while it cannot, back to the timer's thread when it can, on the same
// grid.
void KeepTicksFor(bool seen);
// How long the event loop may wait for events while it keeps the ticks (0:
// it must take them now); -1 while it keeps none.
int MillisecondsToLoopWake();
// How many of the ticks the loop keeps are due by now (0 while it keeps
// none), the grid moved on past them: the loop runs that many, in order.
int TakeLoopTicks();

// On the event thread, by whoever learns that the window can be seen again
// from the system without an SDL event saying so (a Wayland compositor
// calling for a frame): wakes a loop that sleeps through the ticks, which
// then hands them back to the timer's thread.
void WakeForSeenWindow();

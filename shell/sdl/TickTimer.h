// The tick of shell/Platform.h on SDL: an SDL timer whose thread posts a
// tick event, never more than one waiting (PendingTick), on a fixed grid
// (TickSchedule). TickTimer.cpp defines StartTimer and StopTimer too.
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

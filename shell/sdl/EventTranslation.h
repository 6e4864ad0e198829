// SDL's events turned into the core's handlers (shell/App.h), and the quit
// the core posts that ends the loop. EventTranslation.cpp defines PostQuit
// of shell/Platform.h too.
#pragma once

#include <SDL.h>

// Waits for events and turns each into the core's handlers until the quit is
// posted; returns its exit code, or 1 when waiting itself fails. While the
// loop keeps the ticks (TickTimer.h) it first runs, at each wake-up, the
// ticks that came due while it slept, so that an event acts after the ticks
// before it, as it would have with the window seen. beforeTick, when given,
// is called as each tick is about to run (the tick probe times them).
int RunEventLoop(void (*beforeTick)() = nullptr);

// One event into the core's handlers.
void DispatchEvent(const SDL_Event& event);
// One tick, whoever keeps them, and the hand-over of the next ones to the
// timer's thread or the loop by whether the window can be seen now.
void RunTick();

// True once the core has posted its quit, with the exit code.
bool QuitPosted(int& exitCode);

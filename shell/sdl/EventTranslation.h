// SDL's events turned into the core's handlers (shell/App.h), and the quit
// the core posts that ends the loop. EventTranslation.cpp defines PostQuit
// of shell/Platform.h too.
#pragma once

#include <SDL.h>

// Waits for events and turns each into the core's handlers, and runs the
// ticks the loop keeps itself while the window cannot be seen (TickTimer.h),
// until the quit is posted; returns its exit code, or 1 when waiting itself
// fails. beforeTick, when given, is called as each tick is about to run (the
// tick probe times them).
int RunEventLoop(void (*beforeTick)() = nullptr);

// One event into the core's handlers.
void DispatchEvent(const SDL_Event& event);
// One tick, whoever keeps them, and the hand-over of the next ones to the
// timer's thread or the loop by whether the window can be seen now.
void RunTick();

// True once the core has posted its quit, with the exit code.
bool QuitPosted(int& exitCode);

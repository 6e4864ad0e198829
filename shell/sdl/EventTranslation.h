// SDL's events turned into the core's handlers (shell/App.h), and the quit
// the core posts that ends the loop. EventTranslation.cpp defines PostQuit
// of shell/Platform.h too.
#pragma once

#include <SDL.h>

// Waits for events and turns each into the core's handlers until the quit
// is posted; returns its exit code, or 1 when waiting itself fails.
int RunEventLoop();

// One event into the core's handlers.
void DispatchEvent(const SDL_Event& event);

// True once the core has posted its quit, with the exit code.
bool QuitPosted(int& exitCode);

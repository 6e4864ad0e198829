// velmora's window on SDL2: what main needs besides the services of
// shell/Platform.h, which SdlWindow.cpp defines over the same window.
#pragma once

#include <SDL.h>

#include <string>

// Creates the main window hidden, resizable, 300 x 200 and centred, with
// the title and the icon, and registers the tick event. On failure says why
// in error.
bool CreateMainWindow(std::string& error);
void DestroyMainWindow();

// Waits for events and turns each into the core's handlers until the quit
// is posted; returns its exit code, or 1 when waiting itself fails.
int RunEventLoop();

// One event into the core's handlers.
void DispatchEvent(const SDL_Event& event);

// Whether the event is the timer's tick, which DispatchEvent turns into
// OnTimer.
bool IsTickEvent(const SDL_Event& event);
// True once the core has posted its quit, with the exit code.
bool QuitPosted(int& exitCode);

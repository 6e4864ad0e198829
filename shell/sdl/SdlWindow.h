// velmora's window on SDL2: what main needs besides the services of
// shell/Platform.h, which SdlWindow.cpp defines over the same window.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "shell/sdl/Presenter.h"

// Creates the main window hidden, resizable, 300 x 200 and centred, with
// the title and the icon, the way its picture reaches the screen (choose:
// the first the window offers, unless a test or a probe asks for one), and
// registers the tick event. On failure says why in error.
using PresenterChoice = std::unique_ptr<Presenter> (*)(SDL_Window*, std::string&);
bool CreateMainWindow(std::string& error, PresenterChoice choose = ChoosePresenter);
// The way chosen, by its name.
const char* PresenterName();
// The window CreateMainWindow made, or null. SDL numbers windows its own
// way (SDL 3 starts at 2), so callers ask here instead of guessing an id.
SDL_Window* MainWindow();
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

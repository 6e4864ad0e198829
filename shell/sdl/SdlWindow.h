// velmora's main window on SDL2: made, shown, fitted into its 300 x 200 frame
// and destroyed. SdlWindow.cpp defines ShowMainWindow and GetClientSize of
// shell/Platform.h too.
#pragma once

#include <SDL.h>

#include <string>

#include "shell/sdl/Presenter.h"

// Creates the main window hidden, resizable, 300 x 200 and centred, with
// the title and the icon, the way its picture reaches the screen (choose:
// the first the window offers, unless a test or a probe asks for one), and
// registers the tick event. On failure says why in error.
bool CreateMainWindow(std::string& error, PresenterChoice choose = ChoosePresenter);
// The window CreateMainWindow made, or null. SDL numbers windows its own
// way (SDL 3 starts at 2), so callers ask here instead of guessing an id.
SDL_Window* MainWindow();
// Stops the timer, then releases the presenter and the window.
void DestroyMainWindow();

// At each event of the main window and each tick: while the window is the
// size it was fitted to, a frame the window manager reports anew (X11 tells
// SDL of it with no event for the program) is given its share of the outer
// 300 x 200 (SdlWindow.cpp).
void FollowFrame();

// Asks a window to close the way a window manager does when its close box
// is clicked. Kept apart: X11's headers define names that clash with gtest.
#pragma once

#include <SDL.h>

bool SendCloseRequest(SDL_Window* window);

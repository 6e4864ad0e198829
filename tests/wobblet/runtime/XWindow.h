// An SDL window on X as the X server has it, reached past SDL. Kept apart:
// X11's headers define names that clash with gtest.
#pragma once

#include <SDL.h>

// Asks the window to close the way a window manager does when its close box
// is clicked.
bool SendCloseRequest(SDL_Window* window);

// The colour the X server shows at (x, y) of the window, red in bits 16-23:
// what reached the display, not what SDL holds. 0xFFFFFFFF when it cannot
// be read.
Uint32 ShownPixel(SDL_Window* window, int x, int y);

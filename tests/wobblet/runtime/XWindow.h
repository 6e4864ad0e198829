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

// What SDL does to wake its own wait for events when the window is already
// gone: from a connection of its own, an event sent to a window that no
// longer exists, and the connection closed, which takes the server's
// BadWindow. False when no connection could be opened.
bool SendToAWindowGone();

// Presenting on a Wayland window: two shared-memory buffers attached in
// turn to SDL's own surface of the window, each written only where it lags
// behind the back buffer and handed on with only the changed rectangles as
// damage. The counterpart of the window surface X11 offers in shared memory,
// which SDL's Wayland driver does not. Built only where SDL has a Wayland
// driver (WaylandPresent.cpp); elsewhere no window is ever on Wayland
// (NoWaylandPresent.cpp).
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "demo/runtime/Platform.h"
#include "demo/runtime/ScreenDamage.h"

struct WaylandScreen;

// Buffers for window, or null when the window is not on Wayland or they
// cannot be made (then says why on standard error).
WaylandScreen* OpenWaylandScreen(SDL_Window* window);
// As SurfacePresenter::Present: the screen, width x height pixels of 4 bytes
// (blue, green, red, unused) from topRow on, stride bytes a row, lies at
// (x, y) in the window; changed are rectangles of it. Waits first for the
// compositor to call for the frame that the last commit asked for (its
// retrace), for as long as the window is out of sight, and returns at once
// without showing when the window's close has been queued. Not shown while the
// window has no size (minimised) or its buffers cannot be made (no memory, no
// file handle left): they are made again next time. Lost once the connection
// to the compositor is broken.
ScreenShown PresentOnWayland(WaylandScreen* screen, SDL_Window* window, int x, int y,
                             const std::uint8_t* topRow, std::ptrdiff_t stride, int width,
                             int height, const std::vector<DamageRect>& changed);
// The next presentation sends the whole screen.
void ForgetWaylandScreen(WaylandScreen* screen);
// The next commit tells the compositor the whole window changed; what the
// buffers hold stays as it is.
void DamageWaylandWindow(WaylandScreen* screen);

// How the buffers' shared memory is had: memfd_create, unless a test puts a
// call there that fails on cue.
struct WaylandPoolCalls {
    int (*makeMemory)(const char* name, unsigned flags);
};
extern WaylandPoolCalls waylandPoolCalls;
void CloseWaylandScreen(WaylandScreen* screen);

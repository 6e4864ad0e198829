// Presenting through a window's own surface: the changed rectangles of the
// back buffer are copied into it and only they are handed to the display.
// Used by the SDL screen on X11 when its renderer would not wait for the
// retrace or would cost more than this (a software OpenGL, a software
// renderer), and by the presentation benchmark.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "demo/runtime/ScreenDamage.h"

class SurfacePresenter {
  public:
    // The screen, width x height pixels of 4 bytes (blue, green, red,
    // unused) from topRow on, stride bytes a row, lies at (x, y) in window;
    // changed are rectangles of it. False when the window has no surface to
    // show it with. A surface that is not the one of the last call (the
    // window was resized, the display dropped it) is filled whole: its old
    // contents are gone.
    bool Present(SDL_Window* window, int x, int y, const std::uint8_t* topRow,
                 std::ptrdiff_t stride, int width, int height,
                 const std::vector<DamageRect>& changed);
    // The next presentation sends the whole screen.
    void Forget() { shown = nullptr; }
    // Hands what the window's surface holds to the display again, copying
    // nothing into it. False when the surface is not the one last shown.
    bool ShowAgain(SDL_Window* window);

  private:
    SDL_Surface* shown = nullptr;
    void* shownPixels = nullptr;
    int shownWidth = 0;
    int shownHeight = 0;
    // The changed rectangles in the window; a member only so that its
    // memory serves every presentation.
    std::vector<SDL_Rect> windowRects;
};

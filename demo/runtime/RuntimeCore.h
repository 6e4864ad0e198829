// What the portable core offers the platforms beyond runtime.h.
#pragma once

#include "demo/runtime/runtime.h"

// A drawing output over the back buffer of a screen kept in memory: top row
// first, 32 bits a pixel, drawn with the run-time's pixel routines, which
// record in damage what they change.
struct PixelBuffer;
class ScreenDamage;
DrawTarget* MakeScreenTarget(PixelBuffer* backBuffer, ScreenDamage* damage);

// The window the open screen draws into, or null when no screen is open. The
// window table frees the screen before it destroys that window.
WindowHandle ScreenParentWindow();
// The whole screen is shown again at the next presentation (the window was
// uncovered, or the platform lost what it showed).
void DamageWholeScreen();

// What the portable core offers the platforms beyond runtime.h.
#pragma once

#include "demo/runtime/runtime.h"

// A drawing output over the back buffer of a screen kept in memory: top row
// first, 32 bits a pixel, drawn with the run-time's pixel routines, which
// record in damage what they change.
struct PixelBuffer;
class ScreenDamage;
DrawTarget* MakeScreenOutput(PixelBuffer* backBuffer, ScreenDamage* damage);

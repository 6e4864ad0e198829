// What the portable core offers the platforms beyond runtime.h.
#pragma once

#include "demo/runtime/runtime.h"

// A drawing output over the back buffer of a screen kept in memory: top row
// first, 32 bits a pixel, drawn with the run-time's pixel routines.
struct PixelBuffer;
DrawTarget* MakeScreenOutput(PixelBuffer* backBuffer);

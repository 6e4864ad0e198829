// The platform-independent steps of the start-up and shutdown sequences and
// of the event calls; each platform's RuntimeStartup, RuntimeShutdown and
// WaitEvent are built around them.
#pragma once

#include "demo/runtime/runtime.h"

// Empty image table, no decoders, no drawing output, empty event queue.
void StartRuntimeCore();
// Ends any drawing, releases every image and forgets the queued events.
void StopRuntimeCore();
// The code of the oldest queued event, or 0 when none is queued.
int TakeEventCode();
// The back buffer of a screen: top row first, 32 bits a pixel.
struct PixelBuffer;
DrawTarget* MakeScreenOutput(PixelBuffer* backBuffer);

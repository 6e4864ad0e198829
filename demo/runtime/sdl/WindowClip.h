// Where a rectangle of the screen lands in the window that shows it, for the
// ways of presenting that copy into a buffer of the window's size: the
// screen may lie partly outside the window, and nothing is written there.
#pragma once

#include "demo/runtime/ScreenDamage.h"

// The part of r, a rectangle of a screen that lies at (x, y) in a window of
// windowWidth x windowHeight, that falls in the window, in the window's
// coordinates; false when none does.
bool ClipToWindow(const DamageRect& r, int x, int y, int windowWidth, int windowHeight,
                  DamageRect& clipped);

// Where there is no drawing straight into the bitmap (EGL, WebGL), the frame
// comes out of OpenGL's colour buffer by reading it back, once per frame.
#pragma once

#include <cstdint>
#include <memory>

#include "render/OffscreenBitmap.h"

// The scratch rows a read-back of width x height fills, zeroed, so that a
// read-back the driver refused still hands on defined bytes; null when out
// of memory. Both sides are positive and at most what the context can render.
std::unique_ptr<std::uint8_t[]> MakeReadBackRows(int width, int height);

// The frame in the framebuffer bound for reading, at the bitmap's size, into
// the bitmap's pixels, through rows made by MakeReadBackRows at that size.
void ReadBackFrame(OffscreenBitmap& bitmap, std::uint8_t* bottomUpRows);

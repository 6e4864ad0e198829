// Where there is no drawing straight into the bitmap (EGL, WebGL), the frame
// comes out of OpenGL's colour buffer by reading it back, once per frame.
#pragma once

#include <cstdint>
#include <memory>

#include "render/OffscreenBitmap.h"

// The scratch rows a read-back of width x height fills, with that size.
struct ReadBackRows {
    std::unique_ptr<std::uint8_t[]> bytes;
    int width = 0;
    int height = 0;
};

// Rows for a read-back of width x height, zeroed, so that a read-back the
// driver refused still hands on defined bytes; without bytes when out of
// memory. Both sides are positive and at most what the context can render.
ReadBackRows MakeReadBackRows(int width, int height);

// The frame in the framebuffer bound for reading into the bitmap's pixels,
// through rows of the bitmap's size. Rows of another size (or none) read
// nothing and leave the bitmap as it was: false.
bool ReadBackFrame(OffscreenBitmap& bitmap, ReadBackRows& rows);

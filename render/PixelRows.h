// The bitmap's rows (24-bit blue-green-red, top row first, rows padded to 4
// bytes) to and from the layouts around it: the red-green-blue-alpha rows
// OpenGL reads back, bottom row first; the 32-bit words with blue in the low
// byte of an X window surface, a Wayland XRGB8888 buffer and SDL's RGB888
// texture; the red-green-blue-alpha rows of a web page's canvas.
#pragma once

#include <cstdint>

#include "render/OffscreenBitmap.h"

// width x height pixels of rgba (width * 4 bytes a row, bottom row first)
// into bgr (stride bytes a row, top row first). Only width * 3 bytes of each
// row are written: the padding keeps what it held.
void PackBottomUpRgbaIntoBgr(const std::uint8_t* rgba, int width, int height, std::uint8_t* bgr,
                             int stride);

// Copies the width x height corner that source and the target share into
// target (pitch bytes a row), every word with alpha or'ed in (the opaque
// bits of a target that keeps alpha, else 0).
void CopyBgrIntoXrgb(const MemoryDC& source, std::uint8_t* target, int pitch, int width, int height,
                     std::uint32_t alpha);

// The width x height corner of source, at most its own size, into rgba
// (width * 4 bytes a row, top row first), every pixel opaque.
void CopyBgrIntoRgba(const MemoryDC& source, std::uint8_t* rgba, int width, int height);

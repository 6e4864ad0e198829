// The bitmap's 24-bit blue-green-red rows widened into 32-bit words with
// blue in the low byte, the layout of an X window surface, of a Wayland
// XRGB8888 buffer and of SDL's RGB888 texture alike.
#pragma once

#include <cstdint>

#include "render/OffscreenBitmap.h"

// Copies the width x height corner that source and the target share into
// target (pitch bytes a row), every word with alpha or'ed in (the opaque
// bits of a target that keeps alpha, else 0).
void CopyBgrIntoXrgb(const MemoryDC& source, std::uint8_t* target, int pitch, int width, int height,
                     std::uint32_t alpha);

// The drawing and copying that an image's ink map (InkMap.h) lets skip the
// chunks known to be zero on both sides, keeping the map true as it goes.
// Every result is byte for byte what the plain routines give.
#pragma once

#include <cstdint>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/PixelBuffer.h"

// Black in copy mode over the box x, y, width, height of the target, whose
// buffer keeps ink. Already clipped.
void ClearInked(const DrawTarget& out, std::int64_t x, std::int64_t y, std::int64_t width,
                std::int64_t height);

// An image copied onto an image of its depth that keeps ink (the image's
// corner at left, top; clipped to x0..x1, y0..y1 of the target).
void CopyByInk(const PixelBuffer& src, PixelBuffer& dst, std::int64_t left, std::int64_t top,
               std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

// A grab: rows top <= row < bottom, columns left <= x < right of a source
// that keeps ink into a zeroed, blank-tracked copy whose pixel (0, 0) is the
// source's (x, y).
void CopyInkedRows(PixelBuffer& copy, const PixelBuffer& src, std::int64_t x, std::int64_t y,
                   std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

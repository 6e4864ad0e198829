// The two image copies a frame makes onto the screen, which do only the work
// the screen's records say is left: the background put back, and the
// composite laid over it by exclusive-or. Each records in the screen's
// damage exactly what it changed; the pixels are those the plain copies
// give.
#pragma once

#include <cstdint>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/ScreenDamage.h"

// A 32-bit image copied onto the 32-bit screen (the image's corner at left,
// top; clipped to columns x0..x1, rows y0..y1 of the screen).
void CopyOntoScreen(const PixelBuffer& src, PixelBuffer& dst, std::int64_t left, std::int64_t top,
                    std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                    ScreenDamage& damage);

// Pixels x0 <= x < x1, y0 <= y < y1 of the screen's buffer have been drawn
// over: its damage and its restore cache both learn it.
void ScreenDrawnOver(PixelBuffer& screen, ScreenDamage& damage, std::int64_t x0, std::int64_t y0,
                     std::int64_t x1, std::int64_t y1);

// A 24-bit image laid by exclusive-or over the 32-bit screen, placed and
// clipped the same way.
void XorOntoScreen(const PixelBuffer& src, PixelBuffer& dst, std::int64_t left, std::int64_t top,
                   std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                   ScreenDamage& damage);

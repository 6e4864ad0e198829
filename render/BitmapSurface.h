// Where OffscreenBitmap's pixels live: the one thing about the bitmap that
// differs between platforms. Each platform's render file set defines the
// surface and these three functions (render/memory: plain memory; render/wgl:
// a GDI DIB section selected into a memory device context).
//
// Every picture a surface holds has the same layout: 24 bits a pixel in
// blue-green-red order, top row first, each row padded to a multiple of 4
// bytes, every byte zero when made. OffscreenBitmap passes only sizes it has
// checked: both positive, the whole picture addressable.
#pragma once

#include <cstdint>

struct BitmapSurface;

// A surface holding a new picture of width x height, with its pixels; null,
// with nothing left behind, when it cannot be made.
BitmapSurface* CreateBitmapSurface(int width, int height, std::uint8_t*& pixels);
// Puts a new picture of width x height in place of the surface's current one
// and gives its pixels. False when the new one cannot be made: the current
// picture and pixels stay.
bool ReplaceBitmapPicture(BitmapSurface& surface, int width, int height, std::uint8_t*& pixels);
// Releases the surface and its picture; null does nothing.
void DestroyBitmapSurface(BitmapSurface* surface);
